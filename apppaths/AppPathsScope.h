#pragma once
// Who an App Paths entry is for and where it lives, and how the scope is
// named to the user: the layer below the commands, their backups and the
// System Commands.
#include <string>

// Who a command is for. "All users": the machine's App Paths and the Cmds
// folder beside the program (what every earlier version made). "Just me":
// the user's App Paths (HKEY_CURRENT_USER) and %APPDATA%\Verbosa\Cmds,
// which roam with the user's profile and need no administrator rights.
enum class CommandScope { machine, user };

#define VERBOSA_APP_PATHS_KEY "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths"
inline constexpr wchar_t kAppPathsKey[] = L"" VERBOSA_APP_PATHS_KEY;
// The same for the platform-free rules.
inline constexpr char16_t kAppPathsKeyUtf16[] = u"" VERBOSA_APP_PATHS_KEY;

// The entry's key below the root of its scope: App Paths\<name>.exe.
std::wstring AppPathsKeyName(const std::wstring& name);

// "Just me" / "All users".
const wchar_t* ScopeText(CommandScope scope);

// What to say when an action needs administrator rights the process lacks:
// what the action is, and where to get the rights.
std::wstring NeedsAdministratorText(const wchar_t* action);
