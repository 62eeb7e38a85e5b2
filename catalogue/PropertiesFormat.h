#pragma once
// A command's properties file: four lines (name, target, parameters, show
// command), each ended by CR LF. Platform-free: the file itself is opened
// in CommandProperties.
#include "catalogue/CommandLimits.h"
#include "framework/LineReader.h"

#include <string>
#include <vector>

// The file's bytes for one command.
std::string FormatPropertiesText(const std::string& name, const std::string& target,
                                 const std::string& parameters, int showCommand);

// Reads up to `count` lines into `lines`; false when one of them is longer
// than kMaxPropertiesLine (lines then holds those before it).
bool ReadPropertiesLines(CLineReader::Source source, size_t count, std::vector<std::string>& lines);

// Show commands of the window-mode combo box, in its order.
int ShowCommandFromModeIndex(int index);   // 0 -> 1, 1 -> 7, 2 -> 3, else 0
int ModeIndexFromPropertiesLine(const std::string& line); // "7" -> 1, "3" -> 2, else 0
