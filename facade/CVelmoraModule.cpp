// Registration of the library's resources at load and their removal at unload.
#include "facade/CVelmoraModule.h"

#include "dialogs/CDlgM3DRendStates.h"
#include "engine/CM3Dzq.h"
#include "win/afxwin.h"

extern const char velmoraResourceScript[];

namespace {

AFX_EXTENSION_MODULE g_mainModule = {FALSE, nullptr, velmoraResourceScript, "velmora"};
bool g_registered = false;

bool registerModule(AFX_EXTENSION_MODULE& module) {
    if (!AfxInitExtensionModule(module, nullptr))
        return false;
    new CDynLinkLibrary(module); // owned by the window layer until AfxTermExtensionModule
    return true;
}

// Runs when the library is loaded and when it is unloaded.
const CVelmoraModule g_module;

} // namespace

CVelmoraModule::CVelmoraModule() {
    g_registered = registerModule(g_mainModule);
    CM3Dzq::setRendStatesDialog(&CDlgM3DRendStates::showForEngine);
}

CVelmoraModule::~CVelmoraModule() {
    CM3Dzq::setRendStatesDialog(nullptr);
    AfxTermExtensionModule(g_mainModule);
    g_registered = false;
}

bool CVelmoraModule::isRegistered() {
    return g_registered;
}
