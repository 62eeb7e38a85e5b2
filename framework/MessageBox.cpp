#include "framework/MessageBox.h"

#include "framework/AppInfo.h"
#include "framework/Services.h"

UINT AppMessageBoxType(UINT type)
{
    if ((type & MB_ICONMASK) == 0) {
        switch (type & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL:
        case MB_YESNO:
        case MB_YESNOCANCEL:
            type |= MB_ICONEXCLAMATION;
            break;
        default:
            break;
        }
    }
    return type;
}

HWND AppMessageBoxOwner()
{
    HWND main = GetAppMainWindow();
    if (main && IsWindow(main)) {
        HWND popup = GetLastActivePopup(main);
        return popup ? popup : main;
    }
    return GetActiveWindow();
}

int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type)
{
    if (const auto answer = Services().messageBox)
        return answer(MessageBoxRequest{owner, text, caption, type});
    return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

int AppMessageBox(const std::wstring& text, UINT type)
{
    return ShowMessageBox(AppMessageBoxOwner(), text, GetAppTitle(), AppMessageBoxType(type));
}

int AppMessageBox(UINT stringId, UINT type)
{
    return AppMessageBox(LoadAppString(stringId), type);
}
