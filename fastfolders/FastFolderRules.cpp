#include "fastfolders/FastFolderRules.h"

int ReadableFastFolders(const FastFolderSlots& slots)
{
    int count = 0;
    while (count < kMaxFastFolders && slots[static_cast<size_t>(count)].Readable())
        ++count;
    return count;
}

FastFolderAddPlan PlanFastFolderAdd(const FastFolderSlots& slots)
{
    for (int i = 0; i < kMaxFastFolders; ++i) {
        const FastFolderSlot& slot = slots[static_cast<size_t>(i)];
        if (slot.Empty())
            return {FastFolderAddPlan::Kind::write, i};
        if (!slot.Readable())
            return {FastFolderAddPlan::Kind::blocked, i};
    }
    return {FastFolderAddPlan::Kind::full, kMaxFastFolders};
}

std::vector<std::pair<int, int>> FastFolderCompaction(const FastFolderSlots& slots)
{
    std::vector<std::pair<int, int>> moves;
    int next = 0;
    for (int i = 0; i < kMaxFastFolders; ++i) {
        if (slots[static_cast<size_t>(i)].Empty())
            continue;
        if (i != next)
            moves.emplace_back(i, next);
        ++next;
    }
    return moves;
}
