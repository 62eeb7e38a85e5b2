#pragma once
// Runs an /export or /import command line with no window and no message
// box: the report goes to the console the program was started from, if
// any, and to the /log file when one is named. Returns the exit code;
// nothing escapes it: an exception ends the run as failed, with the reason.
#include "transfer/TransferCommandLine.h"

int RunTransfer(const TransferParse& parse) noexcept;
