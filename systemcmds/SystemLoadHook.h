#pragma once
// Test seam of the System Commands load: called after every step of the
// progress bar, so a test can watch its position and visibility mid-load.
#include "framework/Controls.h"

#include <functional>

using SystemLoadStepHook = std::function<void(const CProgressCtrl& progress)>;
void SetSystemLoadStepHook(SystemLoadStepHook hook);
