#pragma once
// What the installer tests share: the packages' paths (from ctest's
// environment), process runs and the places an installation writes.
#include <windows.h>

#include <string>

inline const std::wstring kAppPaths = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";

// A package path handed over by ctest (Windows form); empty when unset.
std::wstring PackagePath(const wchar_t* variable);

std::wstring ShellFolder(int csidl);

// Starts a program and waits for it (up to two minutes); returns its exit
// code. With keep, returns at once and hands over the process handle.
DWORD RunAndWait(const std::wstring& commandLine, HANDLE* keep = nullptr);

bool WaitUntilGone(const std::wstring& path, DWORD timeoutMs = 60000);

// The default value of an HKLM key; empty when missing.
std::wstring DefaultValue(const std::wstring& key);

void WriteString(HKEY root, const std::wstring& key, const std::wstring& name, const std::wstring& value);
