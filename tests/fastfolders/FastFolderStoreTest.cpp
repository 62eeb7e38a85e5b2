#include "framework/CodePage.h"
#include "tests/fastfolders/FastFolderFixture.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <string>

using namespace std::string_literals;

namespace {

using Store = FastFolderStoreFixture;

std::string Z(const std::string& text) { return text + '\0'; }

FastFolderWrite Add(const std::string& alias, const std::string& path, int* blocked = nullptr)
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
    ASSERT_EQ(FastFolderWrite::done, Add("Docs", "C:\\Docs"));
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "0", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ("Docs\0"s, bytes);
    EXPECT_EQ(5u, bytes.size());
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "00", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ("C:\\Docs\0"s, bytes);
    EXPECT_EQ(8u, bytes.size());

    // An empty text is the terminator alone; the next item takes index 1.
    ASSERT_EQ(FastFolderWrite::done, Add("", ""));
    EXPECT_EQ("\0"s, Raw("1"));
    EXPECT_EQ("\0"s, Raw("11"));
    EXPECT_EQ(2, CountFastFolders());
    EXPECT_EQ(4u, Values());
}

TEST_F(Store, IndicesPastNineAreFormattedNotLookedUp)
{
    EXPECT_EQ("0", FastFolderAliasName(0));
    EXPECT_EQ("9", FastFolderAliasName(9));
    EXPECT_EQ("10", FastFolderAliasName(10));
    EXPECT_EQ("1010", FastFolderPathName("10"));
}

TEST_F(Store, DeletingTheMiddleOfThreeAndCompactingClosesTheGap)
{
    PutItem(0, "A", "C:\\A");
    PutItem(1, "B", "C:\\B");
    PutItem(2, "C", "C:\\C");
    ASSERT_TRUE(DeleteFastFolder("1"));
    EXPECT_EQ("<absent>", Raw("1"));
    EXPECT_EQ("<absent>", Raw("11"));
    CompactFastFolders();
    EXPECT_EQ(Z("A"), Raw("0"));
    EXPECT_EQ(Z("C:\\A"), Raw("00"));
    EXPECT_EQ(Z("C"), Raw("1"));
    EXPECT_EQ(Z("C:\\C"), Raw("11"));
    EXPECT_EQ("<absent>", Raw("2"));
    EXPECT_EQ("<absent>", Raw("22"));
    EXPECT_EQ(4u, Values());
}

TEST_F(Store, DeletingItemZeroOfTwoMovesItemOneDown)
{
    PutItem(0, "A", "C:\\A");
    PutItem(1, "B", "C:\\B");
    ASSERT_TRUE(DeleteFastFolder("0"));
    CompactFastFolders();
    EXPECT_EQ(Z("B"), Raw("0"));
    EXPECT_EQ(Z("C:\\B"), Raw("00"));
    EXPECT_EQ("<absent>", Raw("1"));
    EXPECT_EQ("<absent>", Raw("11"));
}

TEST_F(Store, DeletingAMissingAliasFailsAndLeavesItsPath)
{
    Put("33", "C:\\Orphan");
    EXPECT_FALSE(DeleteFastFolder("3"));
    EXPECT_EQ("C:\\Orphan\0"s, Raw("33")); // the path goes only after the alias did
    PutItem(0, "A", "C:\\A");
    EXPECT_TRUE(DeleteFastFolder("0"));
    EXPECT_EQ("<absent>", Raw("00"));
}

TEST_F(Store, AnAliasWithoutItsPathEndsTheListAndIsMovedButNeverGivenAPath)
{
    PutItem(0, "A", "C:\\A");
    Put("2", "Lonely");
    PutItem(3, "C", "C:\\C");
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ(1, CountFastFolders()); // as the menu, which stops there too

    CompactFastFolders();
    EXPECT_EQ(Z("Lonely"), Raw("1"));
    EXPECT_EQ("<absent>", Raw("11"));
    EXPECT_EQ(Z("C"), Raw("2"));
    EXPECT_EQ(Z("C:\\C"), Raw("22"));
}

TEST_F(Store, CompactingKeepsEveryItemEmptyOrNotInItsOrder)
{
    PutItem(1, "B", "C:\\B");
    PutItem(4, "", "C:\\Empty");
    Put("66", "C:\\PathAlone");
    PutItem(7, "H", "C:\\H");
    Put("Path", "C:\\Verbosa\\quillon.exe");
    CompactFastFolders();
    EXPECT_EQ(Z("B"), Raw("0"));
    EXPECT_EQ(Z(""), Raw("1"));
    EXPECT_EQ(Z("C:\\Empty"), Raw("11"));
    EXPECT_EQ("<absent>", Raw("2"));
    EXPECT_EQ(Z("C:\\PathAlone"), Raw("22"));
    EXPECT_EQ(Z("H"), Raw("3"));
    EXPECT_EQ(Z("C:\\H"), Raw("33"));
    EXPECT_EQ(Z("C:\\Verbosa\\quillon.exe"), Raw("Path"));
    EXPECT_EQ(8u, Values());
}

TEST_F(Store, AValueWithoutItsTerminatorIsReadBackWhole)
{
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "0", REG_SZ, "Docs");
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "00", REG_SZ, "C:\\Docs");
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("Docs", aliases[0]);
    EXPECT_EQ("C:\\Docs", paths[0]);
}

TEST_F(Store, TextIsReadOfTextTypesOnlyAndValuesMoveWithTheirType)
{
    // Expandable text is text, as stored; a binary value is no text and ends
    // the list there, as it does in the library's menu.
    const std::wstring binaryPath = L"C:\\Binary";
    const std::string binary(reinterpret_cast<const char*>(binaryPath.c_str()), (binaryPath.size() + 1) * 2);
    Put("0", "Expand", REG_EXPAND_SZ);
    Put("00", "C:\\Expand", REG_EXPAND_SZ);
    Put("1", "Binary");
    WriteRawValue(HKEY_CURRENT_USER, kFastFolderKey, "11", REG_BINARY, binary);
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("Expand", aliases[0]);
    EXPECT_EQ("C:\\Expand", paths[0]);
    EXPECT_EQ(1, CountFastFolders());
    // Renumbering moves a value as it is, type and all.
    ASSERT_TRUE(DeleteFastFolder("0"));
    CompactFastFolders();
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "00", type, bytes));
    EXPECT_EQ(DWORD(REG_BINARY), type);
    EXPECT_EQ(binary, bytes);
}

TEST_F(Store, CompactingNeverShortensOrBlanksAValueLongerThanTheListBuffer)
{
    const std::string longAlias(300, 'a');
    const std::string longPath = "C:\\" + std::string(400, 'p');
    PutItem(0, "A", "C:\\A");
    PutItem(1, longAlias, "C:\\B");
    PutItem(2, "C", longPath);
    ASSERT_TRUE(DeleteFastFolder("0"));
    CompactFastFolders();
    EXPECT_EQ(Z(longAlias), Raw("0"));
    EXPECT_EQ(Z("C:\\B"), Raw("00"));
    EXPECT_EQ(Z("C"), Raw("1"));
    EXPECT_EQ(Z(longPath), Raw("11"));

    // The list itself stays within its 260-byte buffer and, as the menu,
    // stops at the long alias.
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    EXPECT_EQ(0, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("", aliases[0]);
}

TEST_F(Store, ReadingStopsAtTheRequestedCountAndAtTheFirstGap)
{
    PutItem(0, "A", "C:\\A");
    PutItem(1, "B", "C:\\B");
    PutItem(3, "D", "C:\\D");
    std::string aliases[kMaxFastFolders] = {"x0", "x1", "x2"};
    std::string paths[kMaxFastFolders] = {"y0", "y1", "y2"};
    EXPECT_EQ(1, ReadFastFolders(1, aliases, paths));
    EXPECT_EQ("x1", aliases[1]);
    EXPECT_EQ(2, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("B", aliases[1]);
    EXPECT_EQ("x2", aliases[2]);
    EXPECT_EQ(2, CountFastFolders());
}

TEST_F(Store, AddNeverOverwritesAndNeverWritesWhereNoReaderReaches)
{
    // An alias too long for the readers in the middle: the old count of
    // readable aliases (2) pointed at item 2 and overwrote it.
    PutItem(0, "A", "C:\\A");
    PutItem(1, std::string(300, 'l'), "C:\\Long");
    PutItem(2, "C", "C:\\C");
    int blocked = -1;
    EXPECT_EQ(FastFolderWrite::blocked, Add("New", "C:\\New", &blocked));
    EXPECT_EQ(1, blocked);
    EXPECT_EQ(Z("C"), Raw("2"));
    EXPECT_EQ(6u, Values());

    // Removing it renumbers without a gap; the add then goes after C.
    ASSERT_TRUE(RemoveFastFolderItem(1));
    EXPECT_EQ(FastFolderWrite::done, Add("New", "C:\\New"));
    EXPECT_EQ(Z("C"), Raw("1"));
    EXPECT_EQ(Z("New"), Raw("2"));
    EXPECT_EQ(Z("C:\\New"), Raw("22"));
    EXPECT_EQ(3, CountFastFolders());

    // Ten aliases, one without its path: blocked there, never index 10.
    for (int i = 0; i < kMaxFastFolders; ++i)
        PutItem(i, "F" + std::to_string(i), "C:\\F");
    ASSERT_TRUE(DeleteFastFolder("5"));
    Put("5", "NoPath");
    EXPECT_EQ(FastFolderWrite::blocked, Add("New", "C:\\New", &blocked));
    EXPECT_EQ(5, blocked);
    ASSERT_TRUE(RemoveFastFolderItem(5));
    PutItem(9, "F9", "C:\\F");
    EXPECT_EQ(FastFolderWrite::full, Add("New", "C:\\New"));
    EXPECT_EQ("<absent>", Raw("10"));
    EXPECT_EQ("<absent>", Raw("1010"));
}

TEST_F(Store, ReplacingKeepsTheOldItemUntilTheNewOneIsWritten)
{
    PutItem(0, "A", "C:\\A");
    PutItem(1, "B", "C:\\B");
    int blocked = -1;
    // Edited items go to the end.
    EXPECT_EQ(FastFolderWrite::done, ReplaceFastFolder(0, "A2", "C:\\A2", blocked));
    EXPECT_EQ(Z("B"), Raw("0"));
    EXPECT_EQ(Z("A2"), Raw("1"));
    EXPECT_EQ(Z("C:\\A2"), Raw("11"));
    EXPECT_EQ(4u, Values());

    // Only the first write access is granted: the new item is written and
    // the old one stays (the edit used to delete first and lose it).
    int writes = 0;
    Services().registryAccess = [&](HKEY, const std::wstring&, REGSAM access) {
        return (access & KEY_SET_VALUE) == 0 || ++writes == 1;
    };
    ReplaceFastFolder(0, "B2", "C:\\B2", blocked);
    Services().registryAccess = nullptr;
    EXPECT_EQ(Z("B"), Raw("0"));
    EXPECT_EQ(Z("B2"), Raw("2"));

    // Ten items: rewritten in place, nothing written past index 9.
    for (int i = 0; i < kMaxFastFolders; ++i)
        PutItem(i, "F" + std::to_string(i), "C:\\F");
    EXPECT_EQ(FastFolderWrite::done, ReplaceFastFolder(4, "Four", "C:\\Four", blocked));
    EXPECT_EQ(Z("Four"), Raw("4"));
    EXPECT_EQ(Z("C:\\Four"), Raw("44"));
    EXPECT_EQ(Z("F9"), Raw("9"));
    EXPECT_EQ(20u, Values());
}

TEST(FastFolderStoreWithoutKey, CountsAreZeroAndWritesFailWithoutCreatingTheKey)
{
    CRegistrySandbox sandbox;
    CreateKey(HKEY_CURRENT_USER, "Software\\Kelto\\quillon30");
    EXPECT_EQ(0, CountFastFolders());
    std::string aliases[kMaxFastFolders] = {"keep"};
    std::string paths[kMaxFastFolders] = {"keep"};
    EXPECT_EQ(0, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("keep", aliases[0]);
    EXPECT_EQ("keep", paths[0]);
    EXPECT_EQ(FastFolderWrite::failed, Add("Docs", "C:\\Docs"));
    EXPECT_FALSE(DeleteFastFolder("0"));
    CompactFastFolders();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kFastFolderKey));
}

TEST_F(Store, ReadsUseReadAccessAndWritesWriteAccess)
{
    std::vector<REGSAM> opened;
    Services().registryAccess = [&](HKEY, const std::wstring& subkey, REGSAM access) {
        if (subkey == AnsiToWide(kFastFolderKey))
            opened.push_back(access);
        return true;
    };
    CountFastFolders();
    Add("A", "C:\\A");
    DeleteFastFolder("0");
    CompactFastFolders();
    Services().registryAccess = nullptr;
    const REGSAM readWrite = KEY_READ | KEY_WRITE;
    EXPECT_EQ((std::vector<REGSAM>{KEY_READ, readWrite, KEY_WRITE, readWrite}), opened);
}

TEST_F(Store, AFailedWriteAccessLeavesTheStoreAsItWas)
{
    PutItem(0, "A", "C:\\A");
    PutItem(1, "B", "C:\\B");
    Services().registryAccess = [](HKEY, const std::wstring&, REGSAM access) {
        return (access & KEY_SET_VALUE) == 0;
    };
    EXPECT_EQ(FastFolderWrite::failed, Add("C", "C:\\C"));
    EXPECT_FALSE(DeleteFastFolder("0"));
    CompactFastFolders();
    Services().registryAccess = nullptr;
    EXPECT_EQ(Z("A"), Raw("0"));
    EXPECT_EQ(Z("B"), Raw("1"));
    EXPECT_EQ(4u, Values());
}
