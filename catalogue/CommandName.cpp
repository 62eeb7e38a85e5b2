#include "catalogue/CommandName.h"

#include <cstring>

bool IsLegalCommandChar(unsigned char c)
{
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return true;
    return c != '\0' && std::strchr("!#$%&()+-|{}_@", c) != nullptr;
}

bool IsLegalCommandName(const std::string& name)
{
    if (name.empty())
        return false;
    for (const char c : name) {
        if (!IsLegalCommandChar(static_cast<unsigned char>(c)))
            return false;
    }
    return true;
}
