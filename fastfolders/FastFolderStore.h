#pragma once
// The per-user store of up to ten Fast Folders: an alias under the value
// "n" and its folder path under "nn", indices 0 to count-1 without gaps.
// The shell extension reads the same key in other processes, so the layout
// is fixed to the byte. The key is created by the first-run setup; the store
// never creates it.
#include <string>

constexpr char kFastFolderKey[] = "Software\\Kelto\\quillon30\\FastFolders";
constexpr int kMaxFastFolders = 10;

// "3" for index 3 and "33" for its path: always formatted, never looked up.
std::string FastFolderAliasName(int index);
std::string FastFolderPathName(const std::string& aliasName);

// How many of the alias values "0" to "9" can be read; 0 without the key.
int CountFastFolders();
// Reads indices 0 to count-1; an index whose alias cannot be read leaves
// both entries untouched, one without its path is stored but not counted.
int ReadFastFolders(int count, std::string aliases[], std::string paths[]);
// Appends the item at index CountFastFolders().
bool AddFastFolder(const std::string& alias, const std::string& path);
// Deletes the alias named by the index text and its path; leaves a gap that
// CompactFastFolders closes.
bool DeleteFastFolder(const std::string& index);
// Renumbers the items from 0 in their present order.
void CompactFastFolders();
