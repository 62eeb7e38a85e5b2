#include "catalogue/CommandProperties.h"

#include "framework/TextFile.h"

size_t ReadPropertiesLines(const std::string& path, size_t count, std::vector<std::string>& lines)
{
    lines.clear();
    CFileHandle file = OpenFileForRead(path);
    if (!ReadPropertiesLines(FileLineSource(file.Get()), count, lines))
        throw CFileError(CFileError::lineTooLong, path);
    return lines.size();
}
