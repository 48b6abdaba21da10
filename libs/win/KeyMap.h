// KeyMap: Qt key codes and Windows virtual-key codes in both directions.
#pragma once

#include "win/WinDefs.h"

class KeyMap {
public:
    // 0 for keys without a virtual-key code.
    static UINT toVk(int qtKey);
    // Qt::Key_unknown (0x01ffffff) for codes without a Qt key.
    static int fromVk(UINT vk);
};
