#include "app/TargetIcon.h"

#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"

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
    if (!key.Open(HKEY_CLASSES_ROOT, extension, KEY_QUERY_VALUE) || !key.GetString("", typeName)
        || typeName.empty())
        return false;
    std::string spec;
    if (!key.Open(HKEY_CLASSES_ROOT, typeName + "\\DefaultIcon", KEY_QUERY_VALUE) || !key.GetString("", spec))
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

HICON ExtractChosenIcon(const IconChoice& choice, bool large)
{
    HICON icon = ExtractOneIcon(choice.file, choice.index, large);
    if (!icon && !choice.fallbackFile.empty())
        icon = ExtractOneIcon(choice.fallbackFile, choice.fallbackIndex, large);
    return icon;
}

HICON GetTargetIcon(const std::string& target, bool large)
{
    return ExtractChosenIcon(ChooseTargetIcon(target, SystemIconQueries()), large);
}
