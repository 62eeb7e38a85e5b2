#pragma once
// Makes the window the user works in show a folder: Explorer windows and
// Open/Save dialogs browse in place, anything else gets a new window.
namespace tesselator {

// Navigates the calling thread's active window to folder.
void ShowFolderInActiveWindow(const char* folder);

// The shell's "open" on file, shown normally.
void ShellOpen(const char* file, const char* parameters);

} // namespace tesselator
