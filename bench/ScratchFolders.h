#pragma once
// Scratch folders under %TEMP% for the benches, and their removal.
#include "framework/Handles.h"

#include <windows.h>

#include <string>

// A fresh folder under %TEMP% named for this process.
inline std::wstring MakeScratchFolder(const std::wstring& stem)
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring root = std::wstring(temp) + stem + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(root.c_str(), nullptr);
    return root;
}

// Deletes a folder with everything in it.
inline void RemoveTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found{};
    CFindHandle search(FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (search) {
        do {
            const std::wstring name = found.cFileName;
            const std::wstring path = folder + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(search.Get(), &found));
    }
    search.Reset();
    RemoveDirectoryW(folder.c_str());
}
