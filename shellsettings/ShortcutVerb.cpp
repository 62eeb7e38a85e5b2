#include "shellsettings/ShortcutVerb.h"

#include "framework/RegistryKey.h"

namespace {

const wchar_t kVerbName[] = L"Create Shortcut Command";
const wchar_t kFilesVerb[] = L"*\\Shell\\Create Shortcut Command";
const wchar_t kFoldersVerb[] = L"Folder\\Shell\\Create Shortcut Command";

struct ClassesRoot {
    HKEY root;
    std::wstring prefix;
};

ClassesRoot RootOf(VerbScope scope)
{
    if (scope == VerbScope::user)
        return {HKEY_CURRENT_USER, L"Software\\Classes\\"};
    return {HKEY_CLASSES_ROOT, L""};
}

// Writes one class's verb: false only when its Command key was created and
// the command line was refused. created reports whether the key was made.
bool WriteVerb(const ClassesRoot& classes, const std::wstring& verbKey, const std::wstring& commandLine, bool& created)
{
    CRegistryKey key;
    created = key.Create(classes.root, classes.prefix + verbKey + L"\\Command", KEY_WRITE);
    if (!created)
        return false;
    const bool written = key.WriteString(L"", commandLine);
    key.Close();
    if (key.Open(classes.root, classes.prefix + verbKey, KEY_WRITE))
        key.WriteString(L"", kVerbName);
    return written;
}

} // namespace

std::wstring ShortcutVerbCommandLine(const std::wstring& programFolder)
{
    return L"\"" + programFolder + L"\\quillon.exe\" %1";
}

bool IsShortcutVerbInstalled(VerbScope scope)
{
    const ClassesRoot classes = RootOf(scope);
    CRegistryKey key;
    return key.Open(classes.root, classes.prefix + kFilesVerb, KEY_READ);
}

bool InstallShortcutVerb(const std::wstring& programFolder, VerbScope scope)
{
    const ClassesRoot classes = RootOf(scope);
    const std::wstring commandLine = ShortcutVerbCommandLine(programFolder);
    bool created = false;
    bool result = WriteVerb(classes, kFilesVerb, commandLine, created);
    // A folders' Command key that cannot be created leaves the result as it
    // is; one that was created but refused the value makes it false.
    if (!WriteVerb(classes, kFoldersVerb, commandLine, created) && created)
        result = false;
    return result;
}

bool RemoveShortcutVerb(VerbScope scope)
{
    const ClassesRoot classes = RootOf(scope);
    bool result = true;
    for (const std::wstring& key : {std::wstring(kFilesVerb) + L"\\Command", std::wstring(kFilesVerb),
                                   std::wstring(kFoldersVerb) + L"\\Command", std::wstring(kFoldersVerb)}) {
        if (!CRegistryKey::DeleteKey(classes.root, classes.prefix + key))
            result = false;
    }
    return result;
}
