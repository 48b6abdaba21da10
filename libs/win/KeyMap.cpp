// KeyMap: letters and digits share their codes; the rest comes from a table.
#include "KeyMap.h"

#include <Qt>
#include <map>

namespace {
const std::map<int, UINT>& table() {
    static const std::map<int, UINT> t = {
        {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},       {Qt::Key_Return, VK_RETURN},
        {Qt::Key_Enter, VK_RETURN},   {Qt::Key_Shift, VK_SHIFT},   {Qt::Key_Control, VK_CONTROL},
        {Qt::Key_Alt, VK_MENU},       {Qt::Key_Pause, VK_PAUSE},   {Qt::Key_Escape, VK_ESCAPE},
        {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},  {Qt::Key_PageDown, VK_NEXT},
        {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},     {Qt::Key_Left, VK_LEFT},
        {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},   {Qt::Key_Down, VK_DOWN},
        {Qt::Key_Insert, VK_INSERT},  {Qt::Key_Delete, VK_DELETE}, {Qt::Key_Asterisk, VK_MULTIPLY},
        {Qt::Key_Plus, VK_ADD},       {Qt::Key_Minus, 0xBD},       {Qt::Key_Period, 0xBE},
        {Qt::Key_Comma, 0xBC}};
    return t;
}
} // namespace

UINT KeyMap::toVk(int qtKey) {
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<UINT>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) {
        return VK_F1 + static_cast<UINT>(qtKey - Qt::Key_F1);
    }
    const auto it = table().find(qtKey);
    return it == table().end() ? 0 : it->second;
}

int KeyMap::fromVk(UINT vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return static_cast<int>(vk);
    }
    if (vk >= VK_F1 && vk <= VK_F12) {
        return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    }
    for (const auto& [key, code] : table()) {
        if (code == vk && key != Qt::Key_Enter) {
            return key;
        }
    }
    return Qt::Key_unknown;
}
