#include "services/HtmlHelp.h"

#include "framework/AppInfo.h"
#include "framework/ProgramFolders.h"
#include "framework/CodePage.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <htmlhelp.h>

namespace {

constexpr const wchar_t* kHtmlHelpServerKey = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
// HtmlHelpW; the narrow entry is 14.
constexpr WORD kHtmlHelpOrdinal = 15;

HMODULE LoadFromFullPath(const std::wstring& path)
{
    // The library's own dependencies are looked up beside it first.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

CHtmlHelpBinding& ProcessBinding()
{
    static CHtmlHelpBinding binding(LoadFromFullPath);
    return binding;
}

} // namespace

bool IsAbsolutePath(const std::wstring& path)
{
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= L'a' && (path[0] | 0x20) <= L'z')
                       && path[1] == L':' && path[2] == L'\\';
    const bool unc = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
    return drive || unc;
}

std::wstring RegisteredHtmlHelpPath()
{
    CRegistryKey key;
    std::wstring path;
    if (!key.Open(HKEY_CLASSES_ROOT, kHtmlHelpServerKey, KEY_QUERY_VALUE) ||
        !key.ReadString(L"", kRegistryTextMax, path))
        return {};
    return path;
}

std::wstring SystemHtmlHelpPath()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(folder, length) + L"\\hhctrl.ocx";
}

CHtmlHelpBinding::CHtmlHelpBinding(Loader loader) : m_loader(std::move(loader)) {}

CHtmlHelpBinding::~CHtmlHelpBinding()
{
    if (!m_library)
        return;
    // Viewer windows live in this process: close them before the code goes.
    if (m_entry)
        m_entry(nullptr, nullptr, HH_CLOSE_ALL, 0);
    FreeLibrary(m_library);
}

CHtmlHelpBinding::Entry CHtmlHelpBinding::Bind()
{
    if (m_failed)
        return nullptr;
    if (!m_library) {
        const std::wstring registered = RegisteredHtmlHelpPath();
        if (IsAbsolutePath(registered))
            m_library = m_loader(registered);
        if (!m_library) {
            const std::wstring system = SystemHtmlHelpPath();
            if (!system.empty())
                m_library = m_loader(system);
        }
        if (!m_library) {
            m_failed = true;
            return nullptr;
        }
    }
    if (!m_entry) {
        // An ordinal travels in the low word of the name pointer.
        const auto ordinal = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(kHtmlHelpOrdinal));
        m_entry = reinterpret_cast<Entry>(GetProcAddress(m_library, ordinal));
        if (!m_entry) {
            m_failed = true;
            return nullptr;
        }
    }
    return m_entry;
}

HWND CallHtmlHelp(HWND caller, const std::wstring& path, UINT command, DWORD_PTR data)
{
    if (const auto viewer = Services().htmlHelp)
        return viewer(HtmlHelpRequest{caller, path, command, data});
    CHtmlHelpBinding::Entry entry = ProcessBinding().Bind();
    return entry ? entry(caller, path.c_str(), command, data) : nullptr;
}

void ShowHelpTopic(const std::wstring& path)
{
    CallHtmlHelp(GetAppMainWindow(), path, HH_DISPLAY_TOPIC, 0);
}

std::wstring HelpFilePath()
{
    return GetProgramFolder() + L"\\quillon.chm";
}

std::wstring HelpTopicPath(const wchar_t* topic)
{
    return HelpFilePath() + L"::/" + topic;
}
