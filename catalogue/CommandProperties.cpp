#include "catalogue/CommandProperties.h"

#include "catalogue/PropertiesCodec.h"
#include "framework/CodePage.h"
#include "framework/FileError.h"
#include "framework/TextFile.h"

size_t ReadPropertiesLines(const std::wstring& path, size_t count, std::vector<std::wstring>& lines)
{
    lines.clear();
    CFileHandle file = OpenFileForRead(path);
    const DecodedProperties read = DecodeProperties(FileLineSource(file.Get()), count, AnsiCodePageConverter());
    switch (read.problem) {
    case PropertiesProblem::none: break;
    case PropertiesProblem::lineTooLong: throw CFileError(CFileError::lineTooLong, path);
    case PropertiesProblem::undecodable: throw CFileError(CFileError::notText, path);
    }
    // The codec hands out well-formed UTF-8 only.
    for (const std::string& line : read.lines)
        lines.push_back(ShownUtf8(line));
    return lines.size();
}
