#pragma once
// The Fast Folder store's index rules, platform-free: the value names of an
// index, where an added item may go, and how the items are renumbered.
// Both readers (the list and the shell extension's menu) stop at the first
// index whose item they cannot read, so an item is only ever written where
// every index before it holds a readable item.
#include "contract/StoreContract.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

inline constexpr int kMaxFastFolders = contract::kFastFolderLimit;

// "3" for index 3 and "33" for its path, as the store contract names them.
template <typename String = std::string>
String FastFolderAliasName(int index)
{
    const std::string name =
        index >= 0 && index < kMaxFastFolders ? contract::kAliasValueNames[index] : std::to_string(index);
    return String(name.begin(), name.end());
}
template <typename String>
String FastFolderPathName(const String& aliasName)
{
    return aliasName + aliasName;
}

// What the store holds at one index.
struct FastFolderSlot {
    bool alias = false;         // the alias value exists
    bool aliasReadable = false; // ... and the readers can hold it
    bool path = false;
    bool pathReadable = false;

    bool Empty() const { return !alias && !path; }
    bool Readable() const { return aliasReadable && pathReadable; }
};
using FastFolderSlots = std::array<FastFolderSlot, kMaxFastFolders>;

// How many items from index 0 on both readers show.
int ReadableFastFolders(const FastFolderSlots& slots);

struct FastFolderAddPlan {
    enum class Kind {
        write,   // write the item at `index`, which holds no value
        blocked, // `index` holds an item no reader can show, before any free index
        full,    // ten readable items
    };
    Kind kind;
    int index;
};
FastFolderAddPlan PlanFastFolderAdd(const FastFolderSlots& slots);

// The moves (from, to) that renumber the occupied indices from 0 in their
// order. Each move goes to an index that is free by then, so copying the
// values first and deleting the source after never overwrites anything.
std::vector<std::pair<int, int>> FastFolderCompaction(const FastFolderSlots& slots);
