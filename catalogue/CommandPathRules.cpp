// The text rule of CommandPaths.h, which asks the system nothing; the rest
// of that header lives in CommandPaths.cpp.
#include "catalogue/CommandPaths.h"

#include "framework/AsciiCase.h"

bool IsOwnEntryValue(const std::string& value, const std::string& linkPath)
{
    return EqualIgnoringAsciiCase(value, linkPath);
}
