#include "shellsettings/OpenFoldersSwitch.h"

#include "contract/StoreContract.h"
#include "framework/RegistryKey.h"
#include "framework/Utf16.h"

#include <cstring>

namespace {

const std::wstring kKey = AsciiToWide(contract::kFastFolderKey);
const std::wstring kValue = AsciiToWide(contract::kShowOpenFoldersValue);

} // namespace

bool IsOpenFoldersListShown()
{
    CRegistryKey key;
    DWORD type = REG_NONE;
    std::string bytes;
    if (!key.Open(HKEY_CURRENT_USER, kKey, KEY_QUERY_VALUE) || !key.ReadValue(kValue, type, bytes) ||
        type != REG_DWORD || bytes.size() != sizeof(DWORD))
        return true;
    DWORD value = 0;
    std::memcpy(&value, bytes.data(), sizeof value);
    return value != 0;
}

bool SetOpenFoldersListShown(bool shown)
{
    CRegistryKey key;
    const DWORD value = shown ? 1 : 0;
    return key.Open(HKEY_CURRENT_USER, kKey, KEY_SET_VALUE) &&
           key.WriteValue(kValue, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}
