#include "services/TargetIcon.h"

#include "framework/ProgramFolders.h"
#include "framework/RegistryAnsi.h"

#include <shellapi.h>

const IconQueries& SystemIconQueries()
{
    static const IconQueries queries{IsExistingFolder, GetTypeIcon};
    return queries;
}

bool GetTypeIcon(const std::string& extension, std::string& iconFile, int& iconIndex)
{
    CRegistryKey key;
    std::string typeName;
    if (!key.Open(HKEY_CLASSES_ROOT, AnsiToWide(extension), KEY_QUERY_VALUE) ||
        !ReadAnsiString(key, kRegistryTextMax, "", typeName) || typeName.empty())
        return false;
    std::string spec;
    if (!key.Open(HKEY_CLASSES_ROOT, AnsiToWide(typeName + "\\DefaultIcon"), KEY_QUERY_VALUE) ||
        !ReadAnsiString(key, kRegistryTextMax, "", spec))
        return false;
    ParseIconSpecification(spec, iconFile, iconIndex);
    return true;
}

HICON ExtractOneIcon(const std::string& file, int index, bool large)
{
    if (file.empty())
        return nullptr;
    HICON icon = nullptr;
    const UINT got = ExtractIconExA(file.c_str(), index, large ? &icon : nullptr, large ? nullptr : &icon, 1);
    if (got == 0 || got == UINT_MAX)
        return nullptr;
    return icon;
}

HICON ExtractIconOfSize(const std::string& file, int index, int size)
{
    if (file.empty() || size <= 0)
        return nullptr;
    // ExtractIconEx gives only the system DPI's two sizes; this is what it
    // calls underneath, for any size, from the nearest image in the file.
    HICON icon = nullptr;
    UINT iconId = 0;
    const UINT got = PrivateExtractIconsA(file.c_str(), index, size, size, &icon, &iconId, 1, LR_DEFAULTCOLOR);
    if (got == 0 || got == UINT_MAX)
        return nullptr;
    return icon;
}

namespace {

template <typename Extract>
HICON WithFallback(const IconChoice& choice, Extract extract)
{
    HICON icon = extract(choice.file, choice.index);
    if (!icon && !choice.fallbackFile.empty())
        icon = extract(choice.fallbackFile, choice.fallbackIndex);
    return icon;
}

} // namespace

HICON ExtractChosenIcon(const IconChoice& choice, int size)
{
    return WithFallback(choice, [size](const std::string& file, int index) {
        return ExtractIconOfSize(file, index, size);
    });
}

HICON GetTargetIcon(const std::string& target, bool large)
{
    return WithFallback(ChooseTargetIcon(target, SystemIconQueries()), [large](const std::string& file, int index) {
        return ExtractOneIcon(file, index, large);
    });
}

HICON GetTargetIconOfSize(const std::string& target, int size)
{
    return ExtractChosenIcon(ChooseTargetIcon(target, SystemIconQueries()), size);
}
