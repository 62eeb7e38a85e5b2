#pragma once
// Whether this process runs with administrator rights (an elevated token).
// The services' stand-in answers in tests: under Wine every process is.
#include <string>

bool IsProcessElevated();

// Without administrator rights: shows the message (what needs them and
// where to get them) in an information box and returns false.
bool RequireElevation(const std::wstring& message);
