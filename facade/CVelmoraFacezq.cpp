// The host's facade: the command channel.
#include "facade/CVelmoraFacezq.h"

#include "dialogs/CDlgRnd3DSpctmOneChnl.h"

namespace {
constexpr int kCodeDataComponent = 4;
}

int CVelmoraFacezq::sendMessageX(int code, int value) {
    if (code != kCodeDataComponent)
        return 1;
    for (CDlgRnd3DSpctmOneChnl* dlg : {m_pDlgOneChnlAct, m_pDlgOneChnlCtl, m_pDlgOneChnlRst})
        if (dlg)
            dlg->setDataComponent(value);
    return 1;
}
