#include "catalogue/FolderBrowser.h"

#include "framework/MessageBox.h"
#include "framework/Services.h"

#include <cwchar>

namespace {

// Frees an item list with the shell's allocator, as the browser requires.
void FreeItemList(PIDLIST_ABSOLUTE items)
{
    IMalloc* allocator = nullptr;
    if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
        allocator->Free(items);
        allocator->Release();
    }
}

} // namespace

void CFolderBrowser::SetFlags(UINT add, UINT remove)
{
    m_flags = add | (m_flags & ~remove);
}

void CFolderBrowser::SetTitle(const wchar_t* title)
{
    const size_t length = title ? wcsnlen(title, kBufferSize - 1) : 0;
    std::wmemcpy(m_title, title ? title : L"", length);
    m_title[length] = L'\0';
}

int CFolderBrowser::Browse(HWND owner, wchar_t* output)
{
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = m_displayName;
    info.lpszTitle = m_title;
    info.ulFlags = m_flags;
    const auto browse = Services().browseForFolder;
    const PIDLIST_ABSOLUTE items = browse ? browse(info) : SHBrowseForFolderW(&info);
    if (!items)
        return cancelled;
    int result = noFileSystemPath;
    if (output) {
        wchar_t path[MAX_PATH] = {};
        if (SHGetPathFromIDListW(items, path)) {
            const size_t length = wcsnlen(path, kBufferSize - 1);
            std::wmemcpy(output, path, length);
            output[length] = L'\0';
            result = folderChosen;
        }
    }
    FreeItemList(items);
    return result;
}

std::wstring BrowseUntilFolder(HWND owner, const wchar_t* title, const wchar_t* retryText, const std::wstring& current)
{
    for (;;) {
        CFolderBrowser browser;
        browser.SetFlags(BIF_NEWDIALOGSTYLE);
        browser.SetTitle(title);
        wchar_t path[CFolderBrowser::kBufferSize] = {};
        switch (browser.Browse(owner, path)) {
        case CFolderBrowser::cancelled: return current;
        case CFolderBrowser::folderChosen: return path;
        default: AppMessageBox(retryText, MB_OK); break;
        }
    }
}
