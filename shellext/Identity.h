#pragma once
// Names under which the shell and the program find the extension. The GUIDs
// themselves come from the type library's IDL (TesselatorLib.h).
#include "TesselatorLib.h"
#include "contract/StoreContract.h"

namespace tesselator {

using contract::kApprovedKey;
using contract::kApprovedName;
constexpr const char* kClassIdText = contract::kExtensionClassId;

constexpr WORD kTypeLibMajor = 1;
constexpr WORD kTypeLibMinor = 0;
constexpr LCID kTypeLibLocale = 0x0409;

// The per-user store that the program writes and the handler only reads.
using contract::kProgramPathValue;
using contract::kShowOpenFoldersValue;
constexpr const char* kStoreKey = contract::kFastFolderKey;

} // namespace tesselator
