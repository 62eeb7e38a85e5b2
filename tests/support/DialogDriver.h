#pragma once
// Reading and driving a live dialog's controls as a user would.
#include "framework/Dialog.h"

#include <string>

inline std::wstring Field(const CDialog& dialog, int id, int room = 1024)
{
    std::wstring text(room, L'\0');
    text.resize(GetDlgItemTextW(dialog.GetSafeHwnd(), id, text.data(), room));
    return text;
}

inline void SetField(const CDialog& dialog, int id, const std::wstring& text)
{
    SetDlgItemTextW(dialog.GetSafeHwnd(), id, text.c_str());
}

inline void Press(const CDialog& dialog, int id)
{
    SendMessageW(dialog.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
}

inline std::wstring Caption(const CDialog& dialog)
{
    wchar_t text[256] = {};
    GetWindowTextW(dialog.GetSafeHwnd(), text, 256);
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
