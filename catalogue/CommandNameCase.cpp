// The code page's lower-casing of command names; the character rule itself
// is platform-free (CommandName.cpp).
#include "catalogue/CommandName.h"

#include <windows.h>

std::string ToLowerCommandName(const std::string& name)
{
    std::string lower = name;
    if (!lower.empty())
        CharLowerBuffA(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}
