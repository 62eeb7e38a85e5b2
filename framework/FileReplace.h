#pragma once
// Writing a whole file so that it ends as either the new bytes or what it
// was before: the bytes go to a temporary file beside it (same folder, so
// the same volume), flushed to the disk, which then takes the file's place
// in one step. A full disk or a lost share never leaves a cut file.
#include <windows.h>

#include <string>
#include <string_view>

// False, with the system's error code, when the file could not be
// replaced; it is then as it was, and no temporary file stays.
bool ReplaceFileWhole(const std::wstring& path, std::string_view bytes, DWORD& error);
