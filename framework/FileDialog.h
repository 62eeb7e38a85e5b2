#pragma once
// The common Open and Save As dialogs, through the services seam.
#include <windows.h>

#include <string>

// A filter as resources spell it, "Text|*.txt|All|*.*||", with the bars
// turned into the zero characters the dialogs take.
std::wstring FilterFromResource(const std::wstring& text);

struct FileDialogRequest {
    HWND owner = nullptr;
    const wchar_t* title = nullptr;
    std::wstring filter;      // resource spelling, see above
    std::wstring initialName; // file name or full path shown at first
    const wchar_t* defaultExtension = nullptr;
};

// The chosen path; empty when the user cancelled. Room for long paths: a
// path the caller cannot use is the caller's to refuse.
std::wstring ChooseFileToOpen(const FileDialogRequest& request);
// Asks before overwriting an existing file.
std::wstring ChooseFileToSave(const FileDialogRequest& request);
