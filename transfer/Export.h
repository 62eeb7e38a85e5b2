#pragma once
// Writing the export file: every command of both scopes and the Fast
// Folders, the program's ANSI texts turned into UTF-8.
#include <string>
#include <vector>

// Returns a TransferExitCode; report gets one line per thing worth saying.
int ExportTo(const std::wstring& file, std::vector<std::string>& report);
