#include "systemcmds/SystemCommandRules.h"

namespace {

constexpr size_t kExtensionLength = 4; // ".exe", ".com", ".lnk"

bool EndsWith(const std::string& text, const char* suffix, size_t length)
{
    return text.size() >= length && text.compare(text.size() - length, length, suffix) == 0;
}

} // namespace

std::string SystemCommandDisplayName(const std::string& keyName)
{
    if (keyName.size() >= kExtensionLength && keyName[keyName.size() - kExtensionLength] == '.')
        return keyName.substr(0, keyName.size() - kExtensionLength);
    return keyName;
}

bool IsOwnCommandTarget(const std::string& path)
{
    return EndsWith(path, ".lnk", kExtensionLength);
}
