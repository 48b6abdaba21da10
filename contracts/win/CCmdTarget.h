// CCmdTarget: an object with a message map; routes WM_COMMAND notifications to its handlers.
#pragma once

#include "win/AfxMsgMap.h"
#include "win/CObject.h"

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Runs the handler of (nID, nCode) from this object's map chain; FALSE when there is none.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    // First entry of the map chain for a window message (nCode, nID 0), or null.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;

protected:
    static const AFX_MSGMAP* GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
