#pragma once
// The built quillon.exe beside the test program, read as data.
#include "framework/Handles.h"

#include <windows.h>

#include <vector>

CLibraryHandle LoadProgramAsData();
// The numbers of every dialog template the module holds.
std::vector<UINT> DialogTemplateIds(HMODULE module);
