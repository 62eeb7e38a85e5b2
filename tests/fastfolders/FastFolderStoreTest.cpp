#include "framework/CodePage.h"
#include "tests/fastfolders/FastFolderFixture.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <string>

using namespace std::string_literals;

namespace {

using Store = FastFolderStoreFixture;

// A text value's bytes as stored: UTF-16 with its terminator.
std::string Z(const std::wstring& text) { return TextBytes(text); }

FastFolderWrite Add(const std::wstring& alias, const std::wstring& path, int* blocked = nullptr)
{
    int index = -1;
    const FastFolderWrite result = AddFastFolder(alias, path, index);
    if (blocked)
        *blocked = index;
    return result;
}

} // namespace

TEST_F(Store, AddWritesAliasAndPathAsTerminatedStringsAtTheNextIndex)
{
    ASSERT_EQ(FastFolderWrite::done, Add(L"Docs", L"C:\\Docs"));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"0", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(Z(L"Docs"), bytes);
    EXPECT_EQ(10u, bytes.size());
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"00", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(Z(L"C:\\Docs"), bytes);
    EXPECT_EQ(16u, bytes.size());

    // An empty text is the terminator alone; the next item takes index 1.
    ASSERT_EQ(FastFolderWrite::done, Add(L"", L""));
    EXPECT_EQ("\0\0"s, Raw(L"1"));
    EXPECT_EQ("\0\0"s, Raw(L"11"));
    EXPECT_EQ(2, CountFastFolders());
    EXPECT_EQ(4u, Values());
}

TEST_F(Store, IndicesPastNineAreFormattedNotLookedUp)
{
    EXPECT_EQ(L"0", FastFolderAliasName<std::wstring>(0));
    EXPECT_EQ(L"9", FastFolderAliasName<std::wstring>(9));
    EXPECT_EQ(L"10", FastFolderAliasName<std::wstring>(10));
    EXPECT_EQ(L"1010", FastFolderPathName(L"10"s));
}

TEST_F(Store, DeletingTheMiddleOfThreeAndCompactingClosesTheGap)
{
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, L"B", L"C:\\B");
    PutItem(2, L"C", L"C:\\C");
    ASSERT_TRUE(DeleteFastFolder(L"1"));
    EXPECT_EQ("<absent>", Raw(L"1"));
    EXPECT_EQ("<absent>", Raw(L"11"));
    CompactFastFolders();
    EXPECT_EQ(Z(L"A"), Raw(L"0"));
    EXPECT_EQ(Z(L"C:\\A"), Raw(L"00"));
    EXPECT_EQ(Z(L"C"), Raw(L"1"));
    EXPECT_EQ(Z(L"C:\\C"), Raw(L"11"));
    EXPECT_EQ("<absent>", Raw(L"2"));
    EXPECT_EQ("<absent>", Raw(L"22"));
    EXPECT_EQ(4u, Values());
}

TEST_F(Store, DeletingItemZeroOfTwoMovesItemOneDown)
{
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, L"B", L"C:\\B");
    ASSERT_TRUE(DeleteFastFolder(L"0"));
    CompactFastFolders();
    EXPECT_EQ(Z(L"B"), Raw(L"0"));
    EXPECT_EQ(Z(L"C:\\B"), Raw(L"00"));
    EXPECT_EQ("<absent>", Raw(L"1"));
    EXPECT_EQ("<absent>", Raw(L"11"));
}

TEST_F(Store, DeletingAMissingAliasFailsAndLeavesItsPath)
{
    Put(L"33", L"C:\\Orphan");
    EXPECT_FALSE(DeleteFastFolder(L"3"));
    EXPECT_EQ(Z(L"C:\\Orphan"), Raw(L"33")); // the path goes only after the alias did
    PutItem(0, L"A", L"C:\\A");
    EXPECT_TRUE(DeleteFastFolder(L"0"));
    EXPECT_EQ("<absent>", Raw(L"00"));
}

TEST_F(Store, AnAliasWithoutItsPathEndsTheListAndIsMovedButNeverGivenAPath)
{
    PutItem(0, L"A", L"C:\\A");
    Put(L"2", L"Lonely");
    PutItem(3, L"C", L"C:\\C");
    std::wstring aliases[kMaxFastFolders];
    std::wstring paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(1, CountFastFolders()); // as the menu, which stops there too

    CompactFastFolders();
    EXPECT_EQ(Z(L"Lonely"), Raw(L"1"));
    EXPECT_EQ("<absent>", Raw(L"11"));
    EXPECT_EQ(Z(L"C"), Raw(L"2"));
    EXPECT_EQ(Z(L"C:\\C"), Raw(L"22"));
}

TEST_F(Store, CompactingKeepsEveryItemEmptyOrNotInItsOrder)
{
    PutItem(1, L"B", L"C:\\B");
    PutItem(4, L"", L"C:\\Empty");
    Put(L"66", L"C:\\PathAlone");
    PutItem(7, L"H", L"C:\\H");
    Put(L"Path", L"C:\\Verbosa\\quillon.exe");
    CompactFastFolders();
    EXPECT_EQ(Z(L"B"), Raw(L"0"));
    EXPECT_EQ(Z(L""), Raw(L"1"));
    EXPECT_EQ(Z(L"C:\\Empty"), Raw(L"11"));
    EXPECT_EQ("<absent>", Raw(L"2"));
    EXPECT_EQ(Z(L"C:\\PathAlone"), Raw(L"22"));
    EXPECT_EQ(Z(L"H"), Raw(L"3"));
    EXPECT_EQ(Z(L"C:\\H"), Raw(L"33"));
    EXPECT_EQ(Z(L"C:\\Verbosa\\quillon.exe"), Raw(L"Path"));
    EXPECT_EQ(8u, Values());
}

TEST_F(Store, AValueWithoutItsTerminatorIsReadBackWhole)
{
    const auto unterminated = [](const std::wstring& text) { return Z(text).substr(0, text.size() * 2); };
    WriteRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"0", REG_SZ, unterminated(L"Docs"));
    WriteRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"00", REG_SZ, unterminated(L"C:\\Docs"));
    std::wstring aliases[kMaxFastFolders];
    std::wstring paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(L"Docs", aliases[0]);
    EXPECT_EQ(L"C:\\Docs", paths[0]);
}

TEST_F(Store, TextOutsideTheCodePageIsStoredAsUtf16AndReadBackWhole)
{
    const std::wstring alias = L"\u6587\u6863 \U0001F4C1";
    const std::wstring path = L"C:\\\u0414\u043E\u043A\u0443\u043C\u0435\u043D\u0442\u044B\\\u0142\u00F3d\u017A";
    ASSERT_EQ(FastFolderWrite::done, Add(alias, path));
    EXPECT_EQ(Z(alias), Raw(L"0")); // what the shell extension reads
    EXPECT_EQ(Z(path), Raw(L"00"));
    std::wstring aliases[kMaxFastFolders];
    std::wstring paths[kMaxFastFolders];
    ASSERT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(alias, aliases[0]);
    EXPECT_EQ(path, paths[0]);
}

TEST_F(Store, TextIsReadOfTextTypesOnlyAndValuesMoveWithTheirType)
{
    // Expandable text is text, as stored; a binary value is no text and ends
    // the list there, as it does in the library's menu.
    const std::string binary = Z(L"C:\\Binary");
    Put(L"0", L"Expand", REG_EXPAND_SZ);
    Put(L"00", L"C:\\Expand", REG_EXPAND_SZ);
    Put(L"1", L"Binary");
    WriteRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"11", REG_BINARY, binary);
    std::wstring aliases[kMaxFastFolders];
    std::wstring paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(L"Expand", aliases[0]);
    EXPECT_EQ(L"C:\\Expand", paths[0]);
    EXPECT_EQ(1, CountFastFolders());
    // Renumbering moves a value as it is, type and all.
    ASSERT_TRUE(DeleteFastFolder(L"0"));
    CompactFastFolders();
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, FastFolderKey(), L"00", type, bytes));
    EXPECT_EQ(DWORD(REG_BINARY), type);
    EXPECT_EQ(binary, bytes);
}

TEST_F(Store, CompactingNeverShortensOrBlanksAValueLongerThanTheListBuffer)
{
    const std::wstring longAlias(300, L'a');
    const std::wstring longPath = L"C:\\" + std::wstring(400, L'p');
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, longAlias, L"C:\\B");
    PutItem(2, L"C", longPath);
    ASSERT_TRUE(DeleteFastFolder(L"0"));
    CompactFastFolders();
    EXPECT_EQ(Z(longAlias), Raw(L"0"));
    EXPECT_EQ(Z(L"C:\\B"), Raw(L"00"));
    EXPECT_EQ(Z(L"C"), Raw(L"1"));
    EXPECT_EQ(Z(longPath), Raw(L"11"));

    // The list itself stays within its 260-unit buffer and, as the menu,
    // stops at the long alias.
    std::wstring aliases[kMaxFastFolders];
    std::wstring paths[kMaxFastFolders];
    EXPECT_EQ(0, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(L"", aliases[0]);
}

TEST_F(Store, ReadingStopsAtTheRequestedCountAndAtTheFirstGap)
{
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, L"B", L"C:\\B");
    PutItem(3, L"D", L"C:\\D");
    std::wstring aliases[kMaxFastFolders] = {L"x0", L"x1", L"x2"};
    std::wstring paths[kMaxFastFolders] = {L"y0", L"y1", L"y2"};
    EXPECT_EQ(1, ReadFastFolders(1, aliases, paths));
    EXPECT_EQ(L"x1", aliases[1]);
    EXPECT_EQ(2, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(L"B", aliases[1]);
    EXPECT_EQ(L"x2", aliases[2]);
    EXPECT_EQ(2, CountFastFolders());
}

TEST_F(Store, AddNeverOverwritesAndNeverWritesWhereNoReaderReaches)
{
    // An alias too long for the readers in the middle: the old count of
    // readable aliases (2) pointed at item 2 and overwrote it.
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, std::wstring(300, L'l'), L"C:\\Long");
    PutItem(2, L"C", L"C:\\C");
    int blocked = -1;
    EXPECT_EQ(FastFolderWrite::blocked, Add(L"New", L"C:\\New", &blocked));
    EXPECT_EQ(1, blocked);
    EXPECT_EQ(Z(L"C"), Raw(L"2"));
    EXPECT_EQ(6u, Values());

    // Removing it renumbers without a gap; the add then goes after C.
    ASSERT_TRUE(RemoveFastFolderItem(1));
    EXPECT_EQ(FastFolderWrite::done, Add(L"New", L"C:\\New"));
    EXPECT_EQ(Z(L"C"), Raw(L"1"));
    EXPECT_EQ(Z(L"New"), Raw(L"2"));
    EXPECT_EQ(Z(L"C:\\New"), Raw(L"22"));
    EXPECT_EQ(3, CountFastFolders());

    // Ten aliases, one without its path: blocked there, never index 10.
    for (int i = 0; i < kMaxFastFolders; ++i)
        PutItem(i, L"F" + std::to_wstring(i), L"C:\\F");
    ASSERT_TRUE(DeleteFastFolder(L"5"));
    Put(L"5", L"NoPath");
    EXPECT_EQ(FastFolderWrite::blocked, Add(L"New", L"C:\\New", &blocked));
    EXPECT_EQ(5, blocked);
    ASSERT_TRUE(RemoveFastFolderItem(5));
    PutItem(9, L"F9", L"C:\\F");
    EXPECT_EQ(FastFolderWrite::full, Add(L"New", L"C:\\New"));
    EXPECT_EQ("<absent>", Raw(L"10"));
    EXPECT_EQ("<absent>", Raw(L"1010"));
}

TEST_F(Store, ReplacingKeepsTheOldItemUntilTheNewOneIsWritten)
{
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, L"B", L"C:\\B");
    int blocked = -1;
    // Edited items go to the end.
    EXPECT_EQ(FastFolderWrite::done, ReplaceFastFolder(0, L"A2", L"C:\\A2", blocked));
    EXPECT_EQ(Z(L"B"), Raw(L"0"));
    EXPECT_EQ(Z(L"A2"), Raw(L"1"));
    EXPECT_EQ(Z(L"C:\\A2"), Raw(L"11"));
    EXPECT_EQ(4u, Values());

    // Only the first write access is granted: the new item is written and
    // the old one stays (the edit used to delete first and lose it).
    int writes = 0;
    Services().registryAccess = [&](HKEY, const std::wstring&, REGSAM access) {
        return (access & KEY_SET_VALUE) == 0 || ++writes == 1;
    };
    ReplaceFastFolder(0, L"B2", L"C:\\B2", blocked);
    Services().registryAccess = nullptr;
    EXPECT_EQ(Z(L"B"), Raw(L"0"));
    EXPECT_EQ(Z(L"B2"), Raw(L"2"));

    // Ten items: rewritten in place, nothing written past index 9.
    for (int i = 0; i < kMaxFastFolders; ++i)
        PutItem(i, L"F" + std::to_wstring(i), L"C:\\F");
    EXPECT_EQ(FastFolderWrite::done, ReplaceFastFolder(4, L"Four", L"C:\\Four", blocked));
    EXPECT_EQ(Z(L"Four"), Raw(L"4"));
    EXPECT_EQ(Z(L"C:\\Four"), Raw(L"44"));
    EXPECT_EQ(Z(L"F9"), Raw(L"9"));
    EXPECT_EQ(20u, Values());
}

TEST(FastFolderStoreWithoutKey, CountsAreZeroAndWritesFailWithoutCreatingTheKey)
{
    CRegistrySandbox sandbox;
    CreateKey(HKEY_CURRENT_USER, L"Software\\Kelto\\quillon30");
    EXPECT_EQ(0, CountFastFolders());
    std::wstring aliases[kMaxFastFolders] = {L"keep"};
    std::wstring paths[kMaxFastFolders] = {L"keep"};
    EXPECT_EQ(0, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(L"keep", aliases[0]);
    EXPECT_EQ(L"keep", paths[0]);
    EXPECT_EQ(FastFolderWrite::failed, Add(L"Docs", L"C:\\Docs"));
    EXPECT_FALSE(DeleteFastFolder(L"0"));
    CompactFastFolders();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, FastFolderKey()));
}

TEST_F(Store, ReadsUseReadAccessAndWritesWriteAccess)
{
    std::vector<REGSAM> opened;
    Services().registryAccess = [&](HKEY, const std::wstring& subkey, REGSAM access) {
        if (subkey == FastFolderKey())
            opened.push_back(access);
        return true;
    };
    CountFastFolders();
    Add(L"A", L"C:\\A");
    DeleteFastFolder(L"0");
    CompactFastFolders();
    Services().registryAccess = nullptr;
    const REGSAM readWrite = KEY_READ | KEY_WRITE;
    EXPECT_EQ((std::vector<REGSAM>{KEY_READ, readWrite, KEY_WRITE, readWrite}), opened);
}

TEST_F(Store, AFailedWriteAccessLeavesTheStoreAsItWas)
{
    PutItem(0, L"A", L"C:\\A");
    PutItem(1, L"B", L"C:\\B");
    Services().registryAccess = [](HKEY, const std::wstring&, REGSAM access) {
        return (access & KEY_SET_VALUE) == 0;
    };
    EXPECT_EQ(FastFolderWrite::failed, Add(L"C", L"C:\\C"));
    EXPECT_FALSE(DeleteFastFolder(L"0"));
    CompactFastFolders();
    Services().registryAccess = nullptr;
    EXPECT_EQ(Z(L"A"), Raw(L"0"));
    EXPECT_EQ(Z(L"B"), Raw(L"1"));
    EXPECT_EQ(4u, Values());
}
