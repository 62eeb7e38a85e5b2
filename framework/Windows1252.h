#pragma once
// The Windows-1252 code page as Windows converts it, for code that runs
// without Windows. Platform-free.
#include "framework/CodePageConverter.h"

CodePageConverter Windows1252Converter();
