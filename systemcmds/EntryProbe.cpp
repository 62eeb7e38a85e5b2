#include "systemcmds/EntryProbe.h"

#include "apppaths/AppPathsRoot.h"
#include "framework/RegistryKey.h"
#include "systemcmds/AppPathsStore.h"

#include <windows.h>

#include <optional>

namespace {

// A text value whole, expanded when its type asks for it; nullopt when it
// is absent or not text.
std::optional<std::wstring> ReadText(CRegistryKey& key, const std::wstring& name)
{
    DWORD type = 0;
    std::string bytes;
    if (!key.ReadValue(name, type, bytes) || (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring text(bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    if (const size_t end = text.find(L'\0'); end != std::wstring::npos)
        text.resize(end);
    if (type != REG_EXPAND_SZ || text.empty())
        return text;
    const DWORD needed = ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (needed == 0)
        return text;
    std::wstring expanded(needed, L'\0');
    const DWORD written = ExpandEnvironmentStringsW(text.c_str(), expanded.data(), needed);
    if (written == 0 || written > needed)
        return text;
    expanded.resize(written - 1);
    return expanded;
}

PathFound Probe(const std::wstring& path, bool folder, CDriveKinds& drives)
{
    if (drives.IsRemote(path))
        return PathFound::remote;
    // A bare name is found by the Run dialog's own search: nothing to say.
    if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/'))
        return PathFound::there;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return PathFound::missing;
    const bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    return isFolder == folder ? PathFound::there : PathFound::missing;
}

} // namespace

bool CDriveKinds::IsRemote(const std::wstring& path)
{
    if (IsUncPath(path))
        return true;
    if (path.size() < 2 || path[1] != L':')
        return false;
    const wchar_t letter = path[0] >= L'a' && path[0] <= L'z' ? static_cast<wchar_t>(path[0] - L'a' + L'A') : path[0];
    if (letter < L'A' || letter > L'Z')
        return false;
    UINT& kind = m_kinds[static_cast<size_t>(letter - L'A')];
    if (kind == 0) {
        const wchar_t root[] = {letter, L':', L'\\', L'\0'};
        kind = GetDriveTypeW(root) + 1;
    }
    return kind == DRIVE_REMOTE + 1;
}

EntryStatus JudgeAppPathsEntry(const EntryToJudge& entry, CDriveKinds& drives)
{
    CRegistryKey key;
    // Gone or refused since the list was read: nothing to say of it.
    if (!key.Open(AppPathsRoot(entry.scope), AppPathsEntryKey(entry.keyName), KEY_QUERY_VALUE))
        return EntryStatus::fine;
    std::optional<std::wstring> target = ReadText(key, L"");
    if (target)
        target = StripTargetQuotes(*target);
    return JudgeEntry(target, ReadText(key, L"Path").value_or(std::wstring()),
                      [&drives](const std::wstring& path, bool folder) { return Probe(path, folder, drives); });
}

bool IsShortcutGone(const std::wstring& target, CDriveKinds& drives)
{
    return Probe(target, false, drives) == PathFound::missing;
}

CProbingThreadMode::CProbingThreadMode([[maybe_unused]] System32 system32)
{
    m_errorModeSet = SetThreadErrorMode(SEM_FAILCRITICALERRORS, &m_errorMode) != FALSE;
#ifndef _WIN64
    BOOL wow64 = FALSE;
    if (system32 == System32::real && IsWow64Process(GetCurrentProcess(), &wow64) && wow64)
        m_redirectionOff = Wow64DisableWow64FsRedirection(&m_redirection) != FALSE;
#endif
}

CProbingThreadMode::~CProbingThreadMode()
{
#ifndef _WIN64
    if (m_redirectionOff)
        Wow64RevertWow64FsRedirection(m_redirection);
#endif
    if (m_errorModeSet)
        SetThreadErrorMode(m_errorMode, nullptr);
}
