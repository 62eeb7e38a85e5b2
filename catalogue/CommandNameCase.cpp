// The system's lower-casing of command names; the character rule itself
// is platform-free (CommandName.h).
#include "catalogue/CommandName.h"

#include <windows.h>

std::wstring ToLowerCommandName(const std::wstring& name)
{
    std::wstring lower = name;
    if (!lower.empty())
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
    return lower;
}
