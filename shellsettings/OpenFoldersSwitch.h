#pragma once
// The switch "Show folders open in Explorer": a value beside the Fast Folder
// store that the shell extension reads when it builds its menu.

// On unless a 0 is stored (missing or unreadable means on, the default).
bool IsOpenFoldersListShown();

// Stores the switch in the store's key, which it never creates (the first
// run does); false when the key cannot be written.
bool SetOpenFoldersListShown(bool shown);
