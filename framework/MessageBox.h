#pragma once
// The application's message-box routine. Every box the program shows goes
// through ShowMessageBox, so tests can record each box and answer it.
#include <windows.h>

#include <string>

struct MessageBoxRequest {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Caption = the executable's file name without extension; OK, OK/Cancel,
// Yes/No and Yes/No/Cancel boxes get the exclamation icon when none is named.
int AppMessageBox(const std::wstring& text, UINT type = MB_OK);
int AppMessageBox(UINT stringId, UINT type = MB_OK);

// A box with a caption of its own.
int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);

// The type AppMessageBox passes on for a caller's type.
UINT AppMessageBoxType(UINT type);

// The window the application's boxes belong to: the last active popup of the
// main window, or the active window when there is no main window.
HWND AppMessageBoxOwner();
