#pragma once
// Where the program and its user's data live: the folder of the running
// executable and the user's shell folders, each replaceable through the
// services for tests.
#include <string>

// Folder of the running executable, without a trailing backslash (the
// services' programPath when set).
std::string GetProgramFolder();

// True when a find-first on the path itself reports a directory entry.
bool IsExistingFolder(const std::string& path);

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
