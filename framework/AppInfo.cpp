#include "framework/AppInfo.h"

#include <vector>

namespace {
HWND g_mainWindow = nullptr;
}

std::wstring GetModulePath(HMODULE module)
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size())
            return std::wstring(buffer.data(), n);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring TitleFromPath(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of('.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

std::wstring GetAppTitle()
{
    return TitleFromPath(GetModulePath());
}

HWND GetAppMainWindow()
{
    return g_mainWindow;
}

void SetAppMainWindow(HWND window)
{
    g_mainWindow = window;
}

std::wstring LoadAppString(UINT id)
{
    // LoadStringW with a zero size hands out a pointer to the resource text,
    // so texts of any length are read whole.
    const wchar_t* text = nullptr;
    const int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<size_t>(length));
}
