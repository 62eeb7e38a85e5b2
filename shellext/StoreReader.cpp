#include "shellext/StoreReader.h"

#include "shellext/Identity.h"
#include "shellext/WideText.h"

#include <cstring>
#include <cwchar>

namespace tesselator {

bool OpenStore(CKeyHolder& key)
{
    return RegOpenKeyExW(HKEY_CURRENT_USER, AsciiToWide(kStoreKey).c_str(), 0, KEY_READ, key.Put()) ==
           ERROR_SUCCESS;
}

bool ReadStoreText(HKEY key, std::string_view name, wchar_t (&out)[kTextBufferSize])
{
    wchar_t buffer[kTextBufferSize] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof buffer;
    if (RegQueryValueExW(key, AsciiToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return false;
    // An odd byte count ends in half a unit, which is no character.
    if (size % sizeof(wchar_t) != 0)
        buffer[size / sizeof(wchar_t)] = L'\0';
    if (wcsnlen(buffer, kTextBufferSize) == kTextBufferSize)
        return false; // a full buffer leaves no room for the terminator
    std::memcpy(out, buffer, sizeof buffer);
    return true;
}

bool ReadStoreSwitch(HKEY key, std::string_view name)
{
    DWORD value = 1;
    DWORD type = REG_NONE;
    DWORD size = sizeof value;
    if (RegQueryValueExW(key, AsciiToWide(name).c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return true;
    return value != 0;
}

} // namespace tesselator
