#pragma once
// The shell requests of the main window and the About box (mail link,
// home page, the properties sheet of a shortcut), through one door so
// tests can see them without anything opening.
#include <windows.h>

#include <string>

struct ShellRequest {
    bool extended = false; // ShellExecuteExW with `mask`, else ShellExecuteW
    ULONG mask = 0;
    HWND owner = nullptr;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    int show = SW_SHOWNORMAL;
};

// Carries the request out; the result says whether the shell accepted it.
bool ShellOpen(const ShellRequest& request);

// "open" with no owner, empty parameters and directory, normal show state.
bool OpenWithShell(const std::wstring& target);
