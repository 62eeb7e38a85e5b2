#pragma once
// The common Open and Save As dialogs, through the services seam.
#include <windows.h>

#include <string>

// A filter as resources spell it, "Text|*.txt|All|*.*||", with the bars
// turned into the zero characters the dialogs take.
std::string FilterFromResource(const std::string& text);

struct FileDialogRequest {
    HWND owner = nullptr;
    const char* title = nullptr;
    std::string filter;      // resource spelling, see above
    std::string initialName; // file name or full path shown at first
    const char* defaultExtension = nullptr;
};

// The chosen path; empty when the user cancelled. Room for long paths: a
// path the caller cannot use is the caller's to refuse.
std::string ChooseFileToOpen(const FileDialogRequest& request);
// Asks before overwriting an existing file.
std::string ChooseFileToSave(const FileDialogRequest& request);
