#pragma once
// Names under which the shell and the program find the extension. The GUIDs
// themselves come from the type library's IDL (TesselatorLib.h).
#include "TesselatorLib.h"

namespace tesselator {

constexpr char kClassIdText[] = "{CF72269D-46F8-4199-B4E3-7698B8233372}";
constexpr char kApprovedKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Approved";
constexpr char kApprovedName[] = "Fast Folders";

constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;
constexpr LCID kTypeLibLocale = 0x0409;

// The per-user store that the program writes and the handler only reads.
constexpr char kStoreKey[] = "Software\\Kelto\\quillon30\\FastFolders";
constexpr char kProgramPathValue[] = "Path";

} // namespace tesselator
