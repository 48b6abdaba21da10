// Extension modules: a library registers its resource script (dialogs, menus, icons, cursors)
// when it is loaded and removes it when it is unloaded. Lookups search the registered modules,
// the most recently registered first.
//
//   static AFX_EXTENSION_MODULE myDLL = {FALSE, nullptr, myResourceScript, "mylib"};
//   struct Registrar {
//       Registrar() { if (AfxInitExtensionModule(myDLL, nullptr)) new CDynLinkLibrary(myDLL); }
//       ~Registrar() { AfxTermExtensionModule(myDLL); }
//   } registrar; // in one source of the library: runs at load and unload
#pragma once

#include "win/CCmdTarget.h"

struct AFX_EXTENSION_MODULE {
    BOOL bInitialized;
    HMODULE hModule;
    // The module's resource script (UTF-8 text, see dialogs/res/velmora.rc for the syntax).
    const char* pszResourceScript;
    const char* pszModuleName;
};

// Parses the module's script; FALSE (with the reason on stderr) when it does not parse.
BOOL AfxInitExtensionModule(AFX_EXTENSION_MODULE& state, HMODULE hModule);
// Removes the module's CDynLinkLibrary objects and its parsed resources.
void AfxTermExtensionModule(AFX_EXTENSION_MODULE& state, BOOL bAll = FALSE);

// While it lives, the module's resources are found by Create, LoadMenu, LoadIcon, LoadCursor.
class CDynLinkLibrary : public CCmdTarget {
    DECLARE_DYNAMIC(CDynLinkLibrary)
public:
    explicit CDynLinkLibrary(AFX_EXTENSION_MODULE& state);
    ~CDynLinkLibrary() override;

    AFX_EXTENSION_MODULE* m_pModule;
};
