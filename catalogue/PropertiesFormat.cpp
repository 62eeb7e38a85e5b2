#include "catalogue/PropertiesFormat.h"

namespace {

// The show commands the combo box offers (SW_SHOWNORMAL,
// SW_SHOWMINNOACTIVE, SW_SHOWMAXIMIZED), spelled out to stay platform-free.
constexpr int kShowNormal = 1;
constexpr int kShowMinimizedNoActive = 7;
constexpr int kShowMaximized = 3;

} // namespace

std::string FormatPropertiesText(const std::string& name, const std::string& target,
                                 const std::string& parameters, int showCommand)
{
    return name + "\r\n" + target + "\r\n" + parameters + "\r\n" + std::to_string(showCommand) + "\r\n";
}

bool ReadPropertiesLines(CLineReader::Source source, size_t count, std::vector<std::string>& lines)
{
    lines.clear();
    CLineReader reader(std::move(source), kMaxPropertiesLine);
    std::string line;
    while (lines.size() < count && reader.ReadLine(line))
        lines.push_back(line);
    return !reader.TooLong();
}

int ShowCommandFromModeIndex(int index)
{
    switch (index) {
    case 0: return kShowNormal;
    case 1: return kShowMinimizedNoActive;
    case 2: return kShowMaximized;
    default: return 0;
    }
}

int ModeIndexFromPropertiesLine(const std::string& line)
{
    if (line == "7") // kShowMinimizedNoActive
        return 1;
    if (line == "3") // kShowMaximized
        return 2;
    return 0;
}
