#include "services/IconRules.h"

#include "framework/AsciiCase.h"

#include <climits>

namespace {

constexpr const char* kShell32 = "SHELL32.DLL";

} // namespace

std::string TargetExtension(const std::string& target)
{
    const size_t dot = target.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    return AsciiLower(target.substr(dot));
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
    // Saturates at the int range, whose negative end is one further out.
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    long long value = 0;
    for (; i < spec.size() && spec[i] >= '0' && spec[i] <= '9'; ++i) {
        if (value <= limit)
            value = value * 10 + (spec[i] - '0');
    }
    if (value > limit)
        value = limit;
    iconIndex = static_cast<int>(negative ? -value : value);
}
