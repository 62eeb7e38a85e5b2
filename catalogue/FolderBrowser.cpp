#include "catalogue/FolderBrowser.h"

#include "framework/MessageBox.h"
#include "framework/Services.h"

#include <cstring>

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

void CFolderBrowser::SetTitle(const char* title)
{
    const size_t length = title ? strnlen(title, kBufferSize - 1) : 0;
    std::memcpy(m_title, title ? title : "", length);
    m_title[length] = '\0';
}

int CFolderBrowser::Browse(HWND owner, char* output)
{
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = m_displayName;
    info.lpszTitle = m_title;
    info.ulFlags = m_flags;
    const auto browse = Services().browseForFolder;
    const PIDLIST_ABSOLUTE items = browse ? browse(info) : SHBrowseForFolderA(&info);
    if (!items)
        return cancelled;
    int result = noFileSystemPath;
    if (output) {
        char path[MAX_PATH] = {};
        if (SHGetPathFromIDListA(items, path)) {
            const size_t length = strnlen(path, kBufferSize - 1);
            std::memcpy(output, path, length);
            output[length] = '\0';
            result = folderChosen;
        }
    }
    FreeItemList(items);
    return result;
}

std::string BrowseUntilFolder(HWND owner, const char* title, const char* retryText, const std::string& current)
{
    for (;;) {
        CFolderBrowser browser;
        browser.SetFlags(BIF_NEWDIALOGSTYLE);
        browser.SetTitle(title);
        char path[CFolderBrowser::kBufferSize] = {};
        switch (browser.Browse(owner, path)) {
        case CFolderBrowser::cancelled: return current;
        case CFolderBrowser::folderChosen: return path;
        default: AppMessageBox(retryText, MB_OK); break;
        }
    }
}
