// The Fast Folder store's index rules on every mix of present, missing and
// unreadable values. Value names of different indices never meet; an add
// goes only to an index holding nothing after readable items only; the
// compaction, replayed copy-then-delete, never writes over a value and
// leaves the items at 0..n-1 in their order.
#include "fastfolders/FastFolderRules.h"
#include "fuzz/Check.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>

namespace {

void CheckValueNames()
{
    for (int i = 0; i < kMaxFastFolders; ++i) {
        const std::string alias = FastFolderAliasName(i);
        FUZZ_CHECK(alias == std::to_string(i) && FastFolderPathName(alias) == alias + alias);
        for (int j = 0; j < kMaxFastFolders; ++j)
            FUZZ_CHECK(alias != FastFolderPathName(FastFolderAliasName(j)));
    }
}

void CheckAdd(const FastFolderSlots& slots)
{
    const int readable = ReadableFastFolders(slots);
    for (int i = 0; i < readable; ++i)
        FUZZ_CHECK(slots[static_cast<size_t>(i)].Readable());
    FUZZ_CHECK(readable == kMaxFastFolders || !slots[static_cast<size_t>(readable)].Readable());

    const FastFolderAddPlan plan = PlanFastFolderAdd(slots);
    switch (plan.kind) {
    case FastFolderAddPlan::Kind::write:
        FUZZ_CHECK(plan.index == readable && slots[static_cast<size_t>(plan.index)].Empty());
        break;
    case FastFolderAddPlan::Kind::blocked:
        FUZZ_CHECK(plan.index == readable && !slots[static_cast<size_t>(plan.index)].Empty());
        break;
    case FastFolderAddPlan::Kind::full:
        FUZZ_CHECK(readable == kMaxFastFolders);
        break;
    }
}

void CheckCompaction(const FastFolderSlots& slots)
{
    // Each index holds the number of the item first stored there, or -1.
    std::array<int, kMaxFastFolders> store;
    std::vector<int> items;
    for (int i = 0; i < kMaxFastFolders; ++i) {
        store[static_cast<size_t>(i)] = slots[static_cast<size_t>(i)].Empty() ? -1 : i;
        if (!slots[static_cast<size_t>(i)].Empty())
            items.push_back(i);
    }
    for (const auto& [from, to] : FastFolderCompaction(slots)) {
        FUZZ_CHECK(from >= 0 && from < kMaxFastFolders && to >= 0 && to < kMaxFastFolders && from != to);
        FUZZ_CHECK(store[static_cast<size_t>(from)] != -1 && store[static_cast<size_t>(to)] == -1);
        store[static_cast<size_t>(to)] = store[static_cast<size_t>(from)];
        store[static_cast<size_t>(from)] = -1;
    }
    for (size_t i = 0; i < store.size(); ++i)
        FUZZ_CHECK(store[i] == (i < items.size() ? items[i] : -1));
}

} // namespace

// The names take no input: checked once, before the first run.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    CheckValueNames();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    FastFolderSlots slots;
    for (FastFolderSlot& slot : slots) {
        const uint8_t bits = provider.ConsumeIntegral<uint8_t>();
        slot.alias = bits & 1;
        slot.aliasReadable = slot.alias && (bits & 2);
        slot.path = bits & 4;
        slot.pathReadable = slot.path && (bits & 8);
    }
    CheckAdd(slots);
    CheckCompaction(slots);
    return 0;
}
