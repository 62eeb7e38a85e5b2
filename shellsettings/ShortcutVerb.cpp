#include "shellsettings/ShortcutVerb.h"

#include "framework/RegistryKey.h"

namespace {

const char kVerbName[] = "Create Shortcut Command";
const char kFilesVerb[] = "*\\Shell\\Create Shortcut Command";
const char kFoldersVerb[] = "Folder\\Shell\\Create Shortcut Command";

// Writes one class's verb: false only when its Command key was created and
// the command line was refused. created reports whether the key was made.
bool WriteVerb(const std::string& verbKey, const std::string& commandLine, bool& created)
{
    CRegistryKey key;
    created = key.Create(HKEY_CLASSES_ROOT, verbKey + "\\Command", KEY_WRITE);
    if (!created)
        return false;
    const bool written = key.SetString("", commandLine);
    key.Close();
    if (key.Open(HKEY_CLASSES_ROOT, verbKey, KEY_WRITE))
        key.SetString("", kVerbName);
    return written;
}

} // namespace

std::string ShortcutVerbCommandLine(const std::string& programFolder)
{
    return "\"" + programFolder + "\\quillon.exe\" %1";
}

bool IsShortcutVerbInstalled()
{
    CRegistryKey key;
    return key.Open(HKEY_CLASSES_ROOT, kFilesVerb, KEY_READ);
}

bool InstallShortcutVerb(const std::string& programFolder)
{
    const std::string commandLine = ShortcutVerbCommandLine(programFolder);
    bool created = false;
    bool result = WriteVerb(kFilesVerb, commandLine, created);
    // A folders' Command key that cannot be created leaves the result as it
    // is; one that was created but refused the value makes it false.
    if (!WriteVerb(kFoldersVerb, commandLine, created) && created)
        result = false;
    return result;
}

bool RemoveShortcutVerb()
{
    bool result = true;
    for (const std::string& key : {std::string(kFilesVerb) + "\\Command", std::string(kFilesVerb),
                                   std::string(kFoldersVerb) + "\\Command", std::string(kFoldersVerb)}) {
        if (!CRegistryKey::DeleteKey(HKEY_CLASSES_ROOT, key))
            result = false;
    }
    return result;
}
