#pragma once
// The message loop of a modal window: runs until `ended` says so, handing
// each message to `preTranslate` first (TRUE: consumed). A WM_QUIT is put
// back for the outer loop.
#include <windows.h>

#include <functional>

void RunModalLoop(const std::function<bool()>& ended, const std::function<BOOL(MSG*)>& preTranslate);
