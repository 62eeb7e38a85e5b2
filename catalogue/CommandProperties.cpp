#include "catalogue/CommandProperties.h"

#include "framework/TextFile.h"

size_t ReadPropertiesLines(const std::string& path, size_t count, std::vector<std::string>& lines)
{
    lines.clear();
    CFileHandle file = OpenFileForRead(path);
    CLineReader reader(FileLineSource(file.Get()), kMaxPropertiesLine);
    std::string line;
    while (lines.size() < count && reader.ReadLine(line))
        lines.push_back(line);
    if (reader.TooLong())
        throw CFileError(CFileError::lineTooLong, path);
    return lines.size();
}
