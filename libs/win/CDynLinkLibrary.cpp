// CDynLinkLibrary and the extension-module calls: registration of a module's resources.
#include "win/CDynLinkLibrary.h"

#include "ResourceRegistry.h"

#include <cstdio>

IMPLEMENT_DYNAMIC(CDynLinkLibrary, CCmdTarget)

BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule) {
    if (state.bInitialized) {
        return TRUE;
    }
    std::string error;
    if (!ResourceRegistry::instance().addModule(&state, &error)) {
        std::fprintf(stderr, "velmora: resources of module %s not registered: %s\n",
                     state.pszModuleName ? state.pszModuleName : "?", error.c_str());
        return FALSE;
    }
    state.hModule = hModule ? hModule : reinterpret_cast<HMODULE>(&state);
    state.bInitialized = TRUE;
    return TRUE;
}

void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL) {
    for (CDynLinkLibrary* library : ResourceRegistry::instance().librariesOf(&state)) {
        delete library;
    }
    ResourceRegistry::instance().removeModule(&state);
    state.bInitialized = FALSE;
}

CDynLinkLibrary::CDynLinkLibrary(AFX_EXTENSION_MODULE& state) : m_pModule(&state) {
    ResourceRegistry::instance().link(this);
}

CDynLinkLibrary::~CDynLinkLibrary() {
    ResourceRegistry::instance().unlink(this);
}
