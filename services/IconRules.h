#pragma once
// The icon rule of every list row as a plain decision (which file and
// index) and the DefaultIcon text it reads; platform-free, on UTF-8 text.
// The extraction around it lives in TargetIcon.
#include <functional>
#include <string>

// Text from the last '.' to the end when that '.' lies after the first
// character, A-Z made lower case; otherwise empty.
std::string TargetExtension(const std::string& target);

struct IconChoice {
    std::string file;
    int index = 0;
    // Used when `file` yields no icon; empty: no further fallback.
    std::string fallbackFile;
    int fallbackIndex = 0;

    bool operator==(const IconChoice&) const = default;
};

// The platform questions the rule asks, in the order it asks them.
struct IconQueries {
    std::function<bool(const std::string& target)> isExistingFolder;
    std::function<bool(const std::string& extension, std::string& iconFile, int& iconIndex)> typeIcon;
};

IconChoice ChooseTargetIcon(const std::string& target, const IconQueries& queries);

// Splits a DefaultIcon specification at its last ',' into file and index.
void ParseIconSpecification(const std::string& spec, std::string& iconFile, int& iconIndex);
