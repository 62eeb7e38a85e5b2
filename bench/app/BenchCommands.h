#pragma once
// Scratch folders of command files for the benches of the main window.
#include <string>

// A fresh folder under %TEMP% named for this process.
std::wstring MakeScratchFolder(const std::wstring& stem);
// Deletes the files of a folder and the folder itself.
void RemoveFolder(const std::wstring& folder);
// A Cmds folder of `count` properties files whose targets cycle through the
// kinds users list: programs, folders, web addresses, documents and
// unknown files.
void MakeCommands(const std::wstring& cmds, int count);
