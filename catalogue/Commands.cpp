#include "catalogue/Commands.h"

#include "apppaths/AppPathsRoot.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/ReplacedEntry.h"
#include "catalogue/Shortcut.h"
#include "framework/AppInfo.h"
#include "framework/MessageBox.h"
#include "framework/RegistryKey.h"
#include "resources/Texts.h"

#include <windows.h>
#include <shellapi.h>

std::wstring CommandWorkingFolder(const std::wstring& target)
{
    return IsExistingFolder(target) ? std::wstring() : GetParentFolder(target);
}

namespace {

// The user's Cmds folder appears with the first command made in it; false
// when the user has no application-data folder to hold it.
bool MakeCmdsFolder(CommandScope scope)
{
    if (scope != CommandScope::user)
        return true; // beside the program: the installer made it
    const std::wstring userData = UserDataFolder();
    if (userData.empty())
        return false;
    CreateDirectoryW(userData.c_str(), nullptr);
    CreateDirectoryW(CmdsFolder(scope).c_str(), nullptr);
    return true;
}

// Moves the file to the Recycle Bin, so a deleted command can be got back;
// false when it is missing or stays.
bool RecycleFile(const std::wstring& path)
{
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        return false;
    const std::wstring from = path + L'\0'; // the list ends with a second zero
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted &&
           GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES;
}

} // namespace

std::vector<std::wstring> WriteCommand(const std::wstring& name, const std::wstring& target,
                                      const std::wstring& parameters, int showCommand, CommandScope scope)
{
    if (!MakeCmdsFolder(scope))
        return {LoadAppString(IDS_NO_SHORTCUT_CREATED)};
    {
        CRegistryKey key;
        if (!key.Create(AppPathsRoot(scope), AppPathsKeyName(name), KEY_ALL_ACCESS))
            return {LoadAppString(IDS_NO_REGISTRY_ACCESS)};
        key.WriteString(L"", CommandLinkPath(name, scope));
        key.WriteString(L"Path", CmdsFolder(scope));
    }

    CShortcut shortcut;
    shortcut.SetWorkingDirectory(CommandWorkingFolder(target));
    shortcut.SetArguments(parameters);
    shortcut.SetDescription(TXT_LINK_DESCRIPTION);
    shortcut.SetTargetPath(target);
    shortcut.SetShowCommand(showCommand);

    std::vector<std::wstring> failures;
    if (std::wstring message; !shortcut.WriteLink(CommandLinkPath(name, scope), message)) {
        if (!message.empty())
            failures.push_back(message);
        failures.push_back(LoadAppString(IDS_NO_SHORTCUT_CREATED));
    } else if (!shortcut.WriteProperties(CommandPropertiesPath(name, scope), name)) {
        failures.push_back(LoadAppString(IDS_NO_PROPERTIES_SAVED));
    }
    return failures;
}

bool CreateCommand(const std::wstring& name, const std::wstring& target, const std::wstring& parameters,
                   int showCommand, CommandScope scope, bool inPlaceOfOtherEntry)
{
    const std::vector<std::wstring> failures =
        inPlaceOfOtherEntry ? WriteCommandInPlaceOfOtherEntry(name, target, parameters, showCommand, scope)
                            : WriteCommand(name, target, parameters, showCommand, scope);
    for (const std::wstring& message : failures)
        AppMessageBox(message, MB_OK);
    return failures.empty();
}

bool CommandExists(const std::wstring& name, CommandScope scope)
{
    if (GetFileAttributesW(CommandPropertiesPath(name, scope).c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    CRegistryKey key;
    return key.Open(AppPathsRoot(scope), AppPathsKeyName(name), KEY_QUERY_VALUE);
}

bool DeleteCommand(const std::wstring& name, CommandScope scope, OtherProgramEntry* kept)
{
    bool result = true;
    if (!RecycleFile(CommandLinkPath(name, scope)))
        result = false;
    if (!RecycleFile(CommandPropertiesPath(name, scope)))
        result = false;
    const OtherProgramEntry other = FindOtherProgramEntry(name, scope);
    if (kept)
        *kept = other;
    if (!other.exists && !CRegistryKey::DeleteKey(AppPathsRoot(scope), AppPathsKeyName(name)))
        result = false;
    return result;
}
