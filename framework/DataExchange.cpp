#include "framework/DataExchange.h"

namespace {

bool IsRadioButton(HWND control)
{
    if ((SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0)
        return true;
    const LONG_PTR type = GetWindowLongPtrW(control, GWL_STYLE) & BS_TYPEMASK;
    return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

} // namespace

void DDX_Control(bool, HWND dialog, int id, CWindow& control)
{
    if (!control)
        control.Attach(GetDlgItem(dialog, id));
}

void DDX_Text(bool save, HWND dialog, int id, std::wstring& text)
{
    CWindow control(GetDlgItem(dialog, id));
    if (save)
        text = control.GetText();
    else
        control.SetText(text);
}

void DDX_Check(bool save, HWND dialog, int id, int& state)
{
    HWND control = GetDlgItem(dialog, id);
    if (save)
        state = static_cast<int>(SendMessageW(control, BM_GETCHECK, 0, 0));
    else
        SendMessageW(control, BM_SETCHECK, static_cast<WPARAM>(state), 0);
}

void DDX_Radio(bool save, HWND dialog, int firstId, int& value)
{
    HWND control = GetDlgItem(dialog, firstId);
    if (!control)
        return;
    if (save)
        value = -1;
    int index = 0;
    do {
        if (IsRadioButton(control)) {
            if (save) {
                if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED && value < 0)
                    value = index;
            } else {
                SendMessageW(control, BM_SETCHECK, index == value ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            ++index;
        }
        control = GetWindow(control, GW_HWNDNEXT);
    } while (control && (GetWindowLongPtrW(control, GWL_STYLE) & WS_GROUP) == 0);
}
