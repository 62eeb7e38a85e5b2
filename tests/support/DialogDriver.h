#pragma once
// Reading and driving a live dialog's controls as a user would.
#include "framework/Dialog.h"

#include <string>

inline std::string Field(const CDialog& dialog, int id, int room = 1024)
{
    std::string text(room, '\0');
    text.resize(GetDlgItemTextA(dialog.GetSafeHwnd(), id, text.data(), room));
    return text;
}

inline void SetField(const CDialog& dialog, int id, const std::string& text)
{
    SetDlgItemTextA(dialog.GetSafeHwnd(), id, text.c_str());
}

inline void Press(const CDialog& dialog, int id)
{
    SendMessageA(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
}

inline std::string Caption(const CDialog& dialog)
{
    char text[256] = {};
    GetWindowTextA(dialog.GetSafeHwnd(), text, sizeof text);
    return text;
}

// Holds Shift down in this thread's keyboard state (what GetKeyState reads)
// while it lives.
class CShiftHeld {
public:
    CShiftHeld() { Set(0x80); }
    ~CShiftHeld() { Set(0); }
    CShiftHeld(const CShiftHeld&) = delete;
    CShiftHeld& operator=(const CShiftHeld&) = delete;

private:
    static void Set(BYTE state)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = state;
        SetKeyboardState(keys);
    }
};
