// The renderer's one way of telling the user something: the window layer's message box by
// default, replaceable so that tests and hosts without windows can record the text instead.
#pragma once

#include <string>

class CRndMessage {
public:
    using Hook = void (*)(const std::u16string& text);

    // Shows text with an OK button through the installed hook.
    static void show(const std::u16string& text);
    // Installs a hook; null restores the default, the window layer's message box.
    static void setHook(Hook hook);
};
