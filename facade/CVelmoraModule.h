// The library's load-time registration: while the library is loaded its resource scripts
// (dialog templates, menus, icons, cursor) are registered with the window layer, and the
// engine opens its render-state window through this library.
#pragma once

class CVelmoraModule {
public:
    CVelmoraModule();
    ~CVelmoraModule();
    CVelmoraModule(const CVelmoraModule&) = delete;
    CVelmoraModule& operator=(const CVelmoraModule&) = delete;

    // Whether the resource script was registered (false when it did not parse).
    static bool isRegistered();
};
