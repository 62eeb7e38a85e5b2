#pragma once
// The extraction around the icon rule of every list row (IconRules.h):
// the registry's type icons, the files' icons. The rule speaks UTF-8; this
// side takes and gives UTF-16 and converts at the rule.
#include "services/IconRules.h"

#include <windows.h>

#include <string>

// The queries of the running system, in the rule's UTF-8: whether a folder
// exists, and GetTypeIcon.
const IconQueries& SystemIconQueries();

// The rule for a target as Win32 holds it. A target with an unpaired
// surrogate names no file the rule could read: it gets the plain icon.
IconChoice ChooseTargetIcon(const std::wstring& target, const IconQueries& queries);

// The icon the system registers for an extension (HKCR\ext -> type ->
// DefaultIcon); true and both outputs filled when found.
bool GetTypeIcon(const std::wstring& extension, std::wstring& iconFile, int& iconIndex);

// One icon of a file, small or large; nullptr when there is none.
HICON ExtractOneIcon(const std::wstring& file, int index, bool large);
// One icon of a file at this size in pixels (an image list's, at the
// window's DPI, which may not be the system's); nullptr when there is none.
HICON ExtractIconOfSize(const std::wstring& file, int index, int size);
// The chosen icon at this size, with its fallback; nullptr when there is none.
HICON ExtractChosenIcon(const IconChoice& choice, int size);

// The icon of a command target; the caller destroys it.
HICON GetTargetIcon(const std::wstring& target, bool large);
HICON GetTargetIconOfSize(const std::wstring& target, int size);
