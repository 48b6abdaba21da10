// The renderer's replaceable message hook.
#include "render/CRndMessage.h"

#include "win/AfxApi.h"

namespace {

void toMessageBox(const std::u16string& text) {
    AfxMessageBox(text.c_str(), MB_OK);
}

CRndMessage::Hook g_hook = &toMessageBox;

} // namespace

void CRndMessage::show(const std::u16string& text) {
    g_hook(text);
}

void CRndMessage::setHook(Hook hook) {
    g_hook = hook ? hook : &toMessageBox;
}
