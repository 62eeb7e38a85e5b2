#include "app/TargetIcon.h"

#include "catalogue/CommandPaths.h"
#include "framework/RegistryKey.h"

#include <shellapi.h>

#include <climits>

namespace {

constexpr const char* kShell32 = "SHELL32.DLL";

} // namespace

std::string TargetExtension(const std::string& target)
{
    const size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    std::string extension = target.substr(dot);
    for (char& c : extension) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return extension;
}

IconChoice ChooseTargetIcon(const std::string& target, const IconQueries& queries)
{
    const std::string extension = TargetExtension(target);
    if (target.find("http://") != std::string::npos)
        return {"url.dll", 0, {}, 0};
    if (extension == ".exe" || extension == ".dll")
        return {target, 0, kShell32, 2};
    if (queries.isExistingFolder && queries.isExistingFolder(target))
        return {kShell32, 4, {}, 0};
    if (target.size() == 3)
        return {kShell32, 8, {}, 0};
    std::string iconFile;
    int iconIndex = 0;
    // No extension names no type: the registry is not asked for one.
    if (!extension.empty() && queries.typeIcon && queries.typeIcon(extension, iconFile, iconIndex))
        return {iconFile, iconIndex, {}, 0};
    return {kShell32, 0, {}, 0};
}

const IconQueries& SystemIconQueries()
{
    static const IconQueries queries{IsExistingFolder, GetTypeIcon};
    return queries;
}

void ParseIconSpecification(const std::string& spec, std::string& iconFile, int& iconIndex)
{
    const size_t comma = spec.rfind(',');
    if (comma == std::string::npos || comma == 0) {
        iconFile = spec;
        iconIndex = 0;
        return;
    }
    iconFile = spec.substr(0, comma);
    size_t i = comma + 1;
    while (i < spec.size() && (spec[i] == ' ' || spec[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < spec.size() && (spec[i] == '+' || spec[i] == '-')) {
        negative = spec[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < spec.size() && spec[i] >= '0' && spec[i] <= '9'; ++i) {
        if (value <= INT_MAX) // saturates instead of overflowing
            value = value * 10 + (spec[i] - '0');
    }
    if (value > INT_MAX)
        value = INT_MAX;
    iconIndex = static_cast<int>(negative ? -value : value);
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
