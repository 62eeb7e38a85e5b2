#pragma once
// The per-user store of up to ten Fast Folders: an alias under the value
// "n" and its folder path under "nn", indices 0 to count-1 without gaps.
// The shell extension reads the same key in other processes, so the layout
// is fixed to the byte. The key is created by the first-run setup; the store
// never creates it. Nothing here overwrites a value it did not write, drops
// a value it cannot show, or writes past index 9.
#include "fastfolders/FastFolderRules.h"

#include <string>

// The store's key below HKEY_CURRENT_USER (the contract's, in UTF-16).
std::wstring FastFolderKey();

// What each index holds; all empty without the key.
FastFolderSlots ReadFastFolderSlots();
// How many items the list and the menu show: the readable ones from 0 on.
int CountFastFolders();
// Reads the shown items, at most `count`; returns how many.
int ReadFastFolders(int count, std::wstring aliases[], std::wstring paths[]);

enum class FastFolderWrite { done, failed, blocked, full };
// Writes a new item where PlanFastFolderAdd puts it. blocked: the item at
// blockedIndex cannot be read and stands before any free index.
FastFolderWrite AddFastFolder(const std::wstring& alias, const std::wstring& path, int& blockedIndex);
// Replaces the item at index. The new item is written at the free index
// first and the old one removed only then, so the edited item becomes the
// last entry and is never lost; with all ten indices taken it is rewritten
// in place, the old values put back if the second write fails.
FastFolderWrite ReplaceFastFolder(int index, const std::wstring& alias, const std::wstring& path, int& blockedIndex);
// Deletes the alias named by the index text and its path; leaves a gap that
// CompactFastFolders closes.
bool DeleteFastFolder(const std::wstring& index);
// Deletes whatever values the index holds, then renumbers.
bool RemoveFastFolderItem(int index);
// Renumbers the items from 0 in their present order, moving each value
// whole with its type; a move that fails leaves the rest where it is.
void CompactFastFolders();
