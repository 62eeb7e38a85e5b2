#pragma once
// Reading a command's properties file back: the lines in their order, in
// either of its forms (PropertiesCodec.h).
#include <string>
#include <vector>

// Reads up to `count` lines of the file; returns how many were read.
// Throws CFileError when the file cannot be opened, when one of those lines
// is longer than the file's form allows, or when it holds bytes that are no
// text of its form.
size_t ReadPropertiesLines(const std::wstring& path, size_t count, std::vector<std::wstring>& lines);
