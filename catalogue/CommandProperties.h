#pragma once
// Reading a command's properties file back: the lines in their order.
#include "catalogue/PropertiesFormat.h"

#include <string>
#include <vector>

// Reads up to `count` lines of the file; returns how many were read.
// Throws CFileError when the file cannot be opened, or when one of those
// lines is longer than kMaxPropertiesLine.
size_t ReadPropertiesLines(const std::string& path, size_t count, std::vector<std::string>& lines);
