#pragma once
// Facts about the running program that the framework needs everywhere.
#include <windows.h>

#include <string>

// Full path of the running executable (long enough for any path).
std::wstring GetModulePath(HMODULE module = nullptr);
// The executable's file name without extension ("quillon" for quillon.exe).
std::wstring GetAppTitle();
// File name without extension of a full path; platform-free.
std::wstring TitleFromPath(const std::wstring& path);

// Main window of the application, used as owner of boxes and help.
HWND GetAppMainWindow();
void SetAppMainWindow(HWND window);

// A string-table text of the program.
std::wstring LoadAppString(UINT id);
