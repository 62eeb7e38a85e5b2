#include "shellext/StoreReader.h"

#include "shellext/Identity.h"

#include <cstring>

namespace tesselator {

bool OpenStore(CKeyHolder& key)
{
    return RegOpenKeyExA(HKEY_CURRENT_USER, kStoreKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

bool ReadStoreText(HKEY key, const std::string& name, char (&out)[kTextBufferSize])
{
    char buffer[kTextBufferSize] = {};
    DWORD size = sizeof buffer;
    if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size) !=
        ERROR_SUCCESS)
        return false;
    if (strnlen(buffer, sizeof buffer) == sizeof buffer)
        return false; // a full buffer leaves no room for the terminator
    std::memcpy(out, buffer, sizeof buffer);
    return true;
}

} // namespace tesselator
