#include "shellsettings/ShortcutVerb.h"

#include "framework/RegistryAnsi.h"

namespace {

const char kVerbName[] = "Create Shortcut Command";
const char kFilesVerb[] = "*\\Shell\\Create Shortcut Command";
const char kFoldersVerb[] = "Folder\\Shell\\Create Shortcut Command";

struct ClassesRoot {
    HKEY root;
    std::string prefix;
};

ClassesRoot RootOf(VerbScope scope)
{
    if (scope == VerbScope::user)
        return {HKEY_CURRENT_USER, "Software\\Classes\\"};
    return {HKEY_CLASSES_ROOT, ""};
}

// Writes one class's verb: false only when its Command key was created and
// the command line was refused. created reports whether the key was made.
bool WriteVerb(const ClassesRoot& classes, const std::string& verbKey, const std::string& commandLine, bool& created)
{
    CRegistryKey key;
    created = key.Create(classes.root, AnsiToWide(classes.prefix + verbKey + "\\Command"), KEY_WRITE);
    if (!created)
        return false;
    const bool written = WriteAnsiString(key, "", commandLine);
    key.Close();
    if (key.Open(classes.root, AnsiToWide(classes.prefix + verbKey), KEY_WRITE))
        WriteAnsiString(key, "", kVerbName);
    return written;
}

} // namespace

std::string ShortcutVerbCommandLine(const std::string& programFolder)
{
    return "\"" + programFolder + "\\quillon.exe\" %1";
}

bool IsShortcutVerbInstalled(VerbScope scope)
{
    const ClassesRoot classes = RootOf(scope);
    CRegistryKey key;
    return key.Open(classes.root, AnsiToWide(classes.prefix + kFilesVerb), KEY_READ);
}

bool InstallShortcutVerb(const std::string& programFolder, VerbScope scope)
{
    const ClassesRoot classes = RootOf(scope);
    const std::string commandLine = ShortcutVerbCommandLine(programFolder);
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
    for (const std::string& key : {std::string(kFilesVerb) + "\\Command", std::string(kFilesVerb),
                                   std::string(kFoldersVerb) + "\\Command", std::string(kFoldersVerb)}) {
        if (!CRegistryKey::DeleteKey(classes.root, AnsiToWide(classes.prefix + key)))
            result = false;
    }
    return result;
}
