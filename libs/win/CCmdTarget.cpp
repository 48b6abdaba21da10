// CCmdTarget: command routing through the message-map chain.
#include "win/CCmdTarget.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {
const AFX_MSGMAP_ENTRY noEntries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
const AFX_MSGMAP rootMap = {nullptr, &noEntries[0]};
} // namespace

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() {
    return &rootMap;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
    return GetThisMessageMap();
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            const bool match = e->nMessage == WM_COMMAND && e->nCode == static_cast<UINT>(nCode) &&
                               nID >= e->nID && nID <= e->nLastID;
            if (!match) {
                continue;
            }
            if (e->nSig == AfxSig_vw) {
                (this->*std::bit_cast<void (CCmdTarget::*)(UINT)>(e->pfn))(nID);
            } else {
                (this->*(e->pfn))();
            }
            return TRUE;
        }
    }
    return FALSE;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const {
    for (const AFX_MSGMAP* map = GetMessageMap(); map;
         map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->nSig != AfxSig_end; ++e) {
            if (e->nMessage == message && message != WM_COMMAND) {
                return e;
            }
        }
    }
    return nullptr;
}
