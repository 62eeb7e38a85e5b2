#include "services/HtmlHelp.h"

#include "framework/AppInfo.h"
#include "framework/ProgramFolders.h"
#include "framework/RegistryAnsi.h"
#include "framework/Services.h"

#include <htmlhelp.h>

namespace {

constexpr const char* kHtmlHelpServerKey = "CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
constexpr WORD kHtmlHelpOrdinal = 14;

HMODULE LoadFromFullPath(const std::string& path)
{
    // The library's own dependencies are looked up beside it first.
    return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

CHtmlHelpBinding& ProcessBinding()
{
    static CHtmlHelpBinding binding(LoadFromFullPath);
    return binding;
}

} // namespace

bool IsAbsolutePath(const std::string& path)
{
    const bool drive = path.size() >= 3 && ((path[0] | 0x20) >= 'a' && (path[0] | 0x20) <= 'z')
                       && path[1] == ':' && path[2] == '\\';
    const bool unc = path.size() >= 3 && path[0] == '\\' && path[1] == '\\';
    return drive || unc;
}

std::string RegisteredHtmlHelpPath()
{
    CRegistryKey key;
    std::string path;
    if (!key.Open(HKEY_CLASSES_ROOT, AnsiToWide(kHtmlHelpServerKey), KEY_QUERY_VALUE) ||
        !ReadAnsiString(key, kRegistryTextMax, "", path))
        return {};
    return path;
}

std::string SystemHtmlHelpPath()
{
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::string(folder, length) + "\\hhctrl.ocx";
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
        const std::string registered = RegisteredHtmlHelpPath();
        if (IsAbsolutePath(registered))
            m_library = m_loader(registered);
        if (!m_library) {
            const std::string system = SystemHtmlHelpPath();
            if (!system.empty())
                m_library = m_loader(system);
        }
        if (!m_library) {
            m_failed = true;
            return nullptr;
        }
    }
    if (!m_entry) {
        m_entry = reinterpret_cast<Entry>(GetProcAddress(m_library, MAKEINTRESOURCEA(kHtmlHelpOrdinal)));
        if (!m_entry) {
            m_failed = true;
            return nullptr;
        }
    }
    return m_entry;
}

HWND CallHtmlHelp(HWND caller, const std::string& path, UINT command, DWORD_PTR data)
{
    if (const auto viewer = Services().htmlHelp)
        return viewer(HtmlHelpRequest{caller, path, command, data});
    CHtmlHelpBinding::Entry entry = ProcessBinding().Bind();
    return entry ? entry(caller, path.c_str(), command, data) : nullptr;
}

void ShowHelpTopic(const std::string& path)
{
    CallHtmlHelp(GetAppMainWindow(), path, HH_DISPLAY_TOPIC, 0);
}

std::string HelpFilePath()
{
    return GetProgramFolder() + "\\quillon.chm";
}

std::string HelpTopicPath(const char* topic)
{
    return HelpFilePath() + "::/" + topic;
}
