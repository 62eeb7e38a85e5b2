#pragma once
// Where a command's three items live, and the path helpers they rest on.
// Paths are built by plain concatenation; nothing is quoted or escaped.
#include <string>

// Text rules, platform-free (CommandPathRules.cpp).
// Text before the last backslash; empty when there is none or it is first.
std::string GetParentFolder(const std::string& path);
// Drops trailing backslashes, but keeps a three-character path (C:\).
std::string TrimTrailingBackslashes(std::string path);
// An App Paths entry is a command's own when its default value, quotes
// stripped, names the command's shortcut; ASCII letters compare without case.
bool IsOwnEntryValue(const std::string& value, const std::string& linkPath);

// Folder of the running executable, without a trailing backslash (the
// services' programPath when set).
std::string GetProgramFolder();

// True when a find-first on the path itself reports a directory entry.
bool IsExistingFolder(const std::string& path);

// Who a command is for. "All users": the machine's App Paths and the Cmds
// folder beside the program (what every earlier version made). "Just me":
// the user's App Paths (HKEY_CURRENT_USER) and %APPDATA%\Verbosa\Cmds,
// which roam with the user's profile and need no administrator rights.
enum class CommandScope { machine, user };

// %APPDATA%\Verbosa (the services' userDataFolder when set).
std::string UserDataFolder();
// %LOCALAPPDATA%\Verbosa, what stays on this machine (the services'
// localDataFolder when set).
std::string LocalDataFolder();
// %ProgramData%\Verbosa, the machine's own (the services' machineDataFolder
// when set).
std::string MachineDataFolder();
// The folder holding the users' profiles (the services' profilesFolder when set).
std::string ProfilesFolder();

std::string AppPathsKeyName(const std::string& name);
std::string CmdsFolder(CommandScope scope = CommandScope::machine);
std::string CommandLinkPath(const std::string& name, CommandScope scope = CommandScope::machine);
std::string CommandPropertiesPath(const std::string& name, CommandScope scope = CommandScope::machine);

inline constexpr const char* kAppPathsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
