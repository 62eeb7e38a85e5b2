#pragma once
// Drives a real common Open dialog from its own modal loop, for the tests
// that make it browse, and the small windows they set around it.
#include "framework/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Asks a browser window for its shell browser (borrowed, not released).
constexpr UINT kGetShellBrowser = WM_USER + 7;

using CWindowHandle = CUniqueHandle<handle_detail::NullTraits<HWND, DestroyWindow>>;

// The folder the dialog shows now.
std::wstring FolderOf(HWND dialog);
std::wstring WindowsFolder();

// Runs the steps on a common Open dialog showing folder, one a tick from a
// timer of its own modal loop, then closes it; the number of steps that ran.
using DialogStep = std::function<void(HWND dialog)>;
size_t DriveOpenDialog(const std::wstring& folder, std::vector<DialogStep> steps);

// A visible top-level window of a class that no rule knows (the caller
// destroys it).
HWND CreatePlainWindow();

// A crash of the handler ends the test process with code 3 instead of
// starting the debugger, which would hang the run.
void ExitOnCrash();
