#pragma once
// The one rule that picks the small icon of every list row, as a plain
// decision (which file and index) and the extraction around it.
#include <windows.h>

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

// The queries of the running system: IsExistingFolder and GetTypeIcon.
const IconQueries& SystemIconQueries();

// Splits a DefaultIcon specification at its last ',' into file and index.
void ParseIconSpecification(const std::string& spec, std::string& iconFile, int& iconIndex);

// The icon the system registers for an extension (HKCR\ext -> type ->
// DefaultIcon); true and both outputs filled when found.
bool GetTypeIcon(const std::string& extension, std::string& iconFile, int& iconIndex);

// One icon of a file, small or large; nullptr when there is none.
HICON ExtractOneIcon(const std::string& file, int index, bool large);
// The chosen icon, with its fallback; nullptr when there is none.
HICON ExtractChosenIcon(const IconChoice& choice, bool large);

// The icon of a command target; the caller destroys it.
HICON GetTargetIcon(const std::string& target, bool large);
