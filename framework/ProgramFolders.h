#pragma once
// Where the program and its user's data live: the folder of the running
// executable and the user's shell folders, each replaceable through the
// services for tests.
#include <string>

// Folder of the running executable, without a trailing backslash (the
// services' programPath when set).
std::wstring GetProgramFolder();

// True when a find-first on the path itself reports a directory entry.
bool IsExistingFolder(const std::wstring& path);

// %APPDATA%\Verbosa (the services' userDataFolder when set).
std::wstring UserDataFolder();
// %LOCALAPPDATA%\Verbosa, what stays on this machine (the services'
// localDataFolder when set).
std::wstring LocalDataFolder();
// %ProgramData%\Verbosa, the machine's own (the services' machineDataFolder
// when set).
std::wstring MachineDataFolder();
// The folder holding the users' profiles (the services' profilesFolder when set).
std::wstring ProfilesFolder();
