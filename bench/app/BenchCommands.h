#pragma once
// Scratch folders of command files for the benches of the main window.
#include "bench/ScratchFolders.h"

#include <string>

// A Cmds folder of `count` properties files whose targets cycle through the
// kinds users list: programs, folders, web addresses, documents and
// unknown files.
void MakeCommands(const std::wstring& cmds, int count);
