#pragma once
// The shell's folder browser, started at the desktop, with fixed-size
// display-name and title buffers.
#include <windows.h>
#include <shlobj.h>

#include <string>

class CFolderBrowser {
public:
    enum Result { cancelled = 0, noFileSystemPath = 1, folderChosen = 2 };
    static constexpr int kBufferSize = 260;

    CFolderBrowser() = default;
    CFolderBrowser(const CFolderBrowser&) = delete;
    CFolderBrowser& operator=(const CFolderBrowser&) = delete;

    // New flags: the added bits, or the old flags without the removed bits.
    void SetFlags(UINT add, UINT remove = 0);
    UINT Flags() const { return m_flags; }
    // Copies at most 259 characters; a longer title is cut, never overrun.
    void SetTitle(const wchar_t* title);
    const wchar_t* Title() const { return m_title; }

    // output must hold kBufferSize characters; without one the result is
    // noFileSystemPath. The item list is freed with the shell's allocator.
    int Browse(HWND owner, wchar_t* output);

private:
    UINT m_flags = 0;
    wchar_t m_displayName[kBufferSize] = {};
    wchar_t m_title[kBufferSize] = {};
};

// Browses with BIF_NEWDIALOGSTYLE and that title until the user picks a
// folder (its path) or cancels (current, unchanged); an item without a
// file-system path shows retryText in an OK box and opens the browser again.
std::wstring BrowseUntilFolder(HWND owner, const wchar_t* title, const wchar_t* retryText, const std::wstring& current);
