#include "catalogue/CommandItems.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/CommandLimits.h"
#include "catalogue/Commands.h"
#include "catalogue/LinkHeader.h"
#include "framework/ComApartment.h"
#include "framework/Handles.h"
#include "framework/RegistryKey.h"

#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <vector>

namespace {

bool EntryIntact(const std::wstring& name, CommandScope scope)
{
    CRegistryKey key;
    std::wstring link, folder;
    return key.Open(AppPathsRoot(scope), AppPathsKeyName(name), KEY_QUERY_VALUE) &&
           key.ReadString(L"", kRegistryTextWhole, link) && key.ReadString(L"Path", kRegistryTextWhole, folder) &&
           link == CommandLinkPath(name, scope) && folder == CmdsFolder(scope);
}

// The show command in the file's header; nullopt when it has none.
std::optional<int> StoredShowCommand(const std::wstring& path)
{
    CFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string header(kLinkHeaderSize, '\0');
    DWORD read = 0;
    if (!file || !ReadFile(file.Get(), header.data(), static_cast<DWORD>(header.size()), &read, nullptr))
        return std::nullopt;
    header.resize(read);
    return LinkHeaderShowCommand(header);
}

// What a link says, each text read back through the shell's own object.
struct LinkTexts {
    std::wstring path, arguments, folder;
    bool operator==(const LinkTexts&) const = default;
};

std::optional<LinkTexts> ReadBack(IShellLinkW& link)
{
    std::vector<wchar_t> path(MAX_PATH + 1, L'\0'), folder(MAX_PATH + 1, L'\0');
    std::vector<wchar_t> arguments(kMaxCommandParameters + 2, L'\0'); // one more: a longer one differs
    if (FAILED(link.GetPath(path.data(), static_cast<int>(path.size()) - 1, nullptr, SLGP_RAWPATH)) ||
        FAILED(link.GetArguments(arguments.data(), static_cast<int>(arguments.size()) - 1)) ||
        FAILED(link.GetWorkingDirectory(folder.data(), static_cast<int>(folder.size()) - 1)))
        return std::nullopt;
    return LinkTexts{path.data(), arguments.data(), folder.data()};
}

bool NewLink(CInterfacePtr<IShellLinkW>& link)
{
    return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.PutVoid()));
}

// Loads into `to` what saving `from` as a link file would hold.
bool StoredAndLoaded(IShellLinkW& from, IShellLinkW& to)
{
    CInterfacePtr<IStream> stream;
    CInterfacePtr<IPersistStream> save, load;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put())) ||
        FAILED(from.QueryInterface(IID_IPersistStream, save.PutVoid())) ||
        FAILED(to.QueryInterface(IID_IPersistStream, load.PutVoid())) || FAILED(save->Save(stream.Get(), TRUE)))
        return false;
    constexpr LARGE_INTEGER start{};
    return SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr)) && SUCCEEDED(load->Load(stream.Get()));
}

bool ShortcutIntact(const std::wstring& name, CommandScope scope, const std::wstring& target,
                    const std::wstring& parameters, int showCommand)
{
    const std::wstring path = CommandLinkPath(name, scope);
    if (StoredShowCommand(path) != showCommand)
        return false;
    CComApartment com;
    CInterfacePtr<IShellLinkW> stored;
    CInterfacePtr<IPersistFile> file;
    if (!NewLink(stored) || FAILED(stored->QueryInterface(IID_IPersistFile, file.PutVoid())) ||
        FAILED(file->Load(path.c_str(), STGM_READ)))
        return false;
    // The shell may store a target in another form than it was given (a
    // URL, a relative path, a name its file format cannot spell): compare
    // with a link made now from the fields and stored the same way.
    CInterfacePtr<IShellLinkW> made, expected;
    if (!NewLink(made) || FAILED(made->SetPath(target.c_str())) ||
        FAILED(made->SetArguments(parameters.c_str())) ||
        FAILED(made->SetWorkingDirectory(CommandWorkingFolder(target).c_str())) || !NewLink(expected) ||
        !StoredAndLoaded(*made.Get(), *expected.Get()))
        return false;
    const auto now = ReadBack(*stored.Get());
    return now && now == ReadBack(*expected.Get());
}

} // namespace

bool CommandItemsIntact(const std::wstring& name, CommandScope scope, const std::wstring& target,
                        const std::wstring& parameters, int showCommand)
{
    return EntryIntact(name, scope) && ShortcutIntact(name, scope, target, parameters, showCommand);
}
