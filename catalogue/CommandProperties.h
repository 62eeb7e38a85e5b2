#pragma once
// Reading a command's properties file back: the lines in their order.
#include <string>
#include <vector>

// Reads up to `count` lines of the file; returns how many were read.
// Throws CFileError when the file cannot be opened.
size_t ReadPropertiesLines(const std::string& path, size_t count, std::vector<std::string>& lines);
