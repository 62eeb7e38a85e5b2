#pragma once
// The extraction around the icon rule of every list row (app/IconRules.h):
// the registry's type icons, the files' icons.
#include "services/IconRules.h"

#include <windows.h>

#include <string>

// The queries of the running system: IsExistingFolder and GetTypeIcon.
const IconQueries& SystemIconQueries();

// The icon the system registers for an extension (HKCR\ext -> type ->
// DefaultIcon); true and both outputs filled when found.
bool GetTypeIcon(const std::string& extension, std::string& iconFile, int& iconIndex);

// One icon of a file, small or large; nullptr when there is none.
HICON ExtractOneIcon(const std::string& file, int index, bool large);
// One icon of a file at this size in pixels (an image list's, at the
// window's DPI, which may not be the system's); nullptr when there is none.
HICON ExtractIconOfSize(const std::string& file, int index, int size);
// The chosen icon at this size, with its fallback; nullptr when there is none.
HICON ExtractChosenIcon(const IconChoice& choice, int size);

// The icon of a command target; the caller destroys it.
HICON GetTargetIcon(const std::string& target, bool large);
HICON GetTargetIconOfSize(const std::string& target, int size);
