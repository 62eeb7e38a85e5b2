#pragma once
// Makes the window the user works in show a folder: Explorer windows and
// Open/Save dialogs browse in place, anything else gets a new window.
#include <windows.h>
#include <objbase.h>

namespace tesselator {

// Navigates the host's browser, named by its site (may be null); without
// one, the calling thread's active window when it proves to have one.
void ShowFolder(const wchar_t* folder, IUnknown* site);

// The shell's "open" on file, shown normally.
void ShellOpen(const wchar_t* file, const wchar_t* parameters);

} // namespace tesselator
