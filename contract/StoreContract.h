#pragma once
// What the program, the shell extension, the setup library, the installers
// and the tests agree on in the registry: the settings key, the Fast Folder
// store and the extension's registration. Constants only, no code: the
// program and the library share no code, only this layout. CMake hands the
// same values to the NSIS script (installer/CMakeLists.txt reads this file).
namespace contract {

// Under HKEY_CURRENT_USER: the program's settings, whose presence marks
// that the first-run set-up has been done.
inline constexpr char kVendorKey[] = "Software\\Kelto";
inline constexpr char kSettingsKey[] = "Software\\Kelto\\quillon30";

// The Fast Folder store, a subkey of the settings: up to ten items, item n
// holding its alias under kAliasValueNames[n] and its folder under
// kPathValueNames[n], from index 0 on without gaps; the program's full path
// under kProgramPathValue, which the extension starts for "Settings...".
inline constexpr char kFastFolderKey[] = "Software\\Kelto\\quillon30\\FastFolders";
inline constexpr char kProgramPathValue[] = "Path";
inline constexpr int kFastFolderLimit = 10;
inline constexpr const char* kAliasValueNames[kFastFolderLimit] = {"0", "1", "2", "3", "4",
                                                                   "5", "6", "7", "8", "9"};
inline constexpr const char* kPathValueNames[kFastFolderLimit] = {"00", "11", "22", "33", "44",
                                                                  "55", "66", "77", "88", "99"};
// Beside the items: whether the extension's menu lists the folders open in
// Explorer. REG_DWORD, 0 off, anything else on; missing means on.
inline constexpr char kShowOpenFoldersValue[] = "ShowOpenFolders";
// The program's file name beside which the library lies.
inline constexpr char kProgramFileName[] = "quillon.exe";
inline constexpr char kLibraryFileName[] = "Tesselator.dll";

// The extension's class and where the shell finds it.
inline constexpr char kExtensionClassId[] = "{CF72269D-46F8-4199-B4E3-7698B8233372}";
inline constexpr char kBackgroundHandlerKey[] = "Directory\\Background\\ShellEx\\ContextMenuHandlers\\Tesselator";
inline constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
inline constexpr char kApprovedName[] = "Fast Folders";

// Under HKEY_LOCAL_MACHINE (64-bit view): what the installers keep.
inline constexpr char kMachineKey[] = "Software\\Kelto\\Verbosa";

} // namespace contract
