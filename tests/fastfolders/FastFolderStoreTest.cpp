#include "tests/fastfolders/FastFolderFixture.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <string>

using namespace std::string_literals;

namespace {

using Store = FastFolderStoreFixture;

std::string Z(const std::string& text) { return text + '\0'; }

} // namespace

TEST_F(Store, AddWritesAliasAndPathAsTerminatedStringsAtTheNextIndex)
{
    ASSERT_TRUE(AddFastFolder("Docs", "C:\\Docs"));
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
    ASSERT_TRUE(AddFastFolder("", ""));
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

TEST_F(Store, AnAliasWithoutItsPathIsNotCountedByTheListButKeptByCompacting)
{
    PutItem(0, "A", "C:\\A");
    Put("1", "Lonely");
    PutItem(2, "C", "C:\\C");
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    paths[1] = "untouched";
    EXPECT_EQ(2, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("Lonely", aliases[1]);
    EXPECT_EQ("untouched", paths[1]);
    EXPECT_EQ("C", aliases[2]);
    EXPECT_EQ(3, CountFastFolders());

    CompactFastFolders();
    EXPECT_EQ(Z("Lonely"), Raw("1"));
    EXPECT_EQ("\0"s, Raw("11"));
    EXPECT_EQ(Z("C"), Raw("2"));
}

TEST_F(Store, CompactingDropsEmptyAndMissingAliasesAndKeepsTheOrder)
{
    PutItem(1, "B", "C:\\B");
    PutItem(4, "", "C:\\Empty");
    PutItem(7, "H", "C:\\H");
    Put("Path", "C:\\Verbosa\\quillon.exe");
    CompactFastFolders();
    EXPECT_EQ(Z("B"), Raw("0"));
    EXPECT_EQ(Z("H"), Raw("1"));
    EXPECT_EQ(Z("C:\\H"), Raw("11"));
    EXPECT_EQ(Z("C:\\Verbosa\\quillon.exe"), Raw("Path"));
    EXPECT_EQ(5u, Values());
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

TEST_F(Store, TheStoredTypeIsNotExamined)
{
    Put("0", "Expand", REG_EXPAND_SZ);
    Put("00", "C:\\Binary", REG_BINARY);
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    EXPECT_EQ(1, ReadFastFolders(1, aliases, paths));
    EXPECT_EQ("Expand", aliases[0]);
    EXPECT_EQ("C:\\Binary", paths[0]);
    EXPECT_EQ(1, CountFastFolders());
    // Renumbering writes them back as ordinary strings.
    CompactFastFolders();
    DWORD type = 0;
    std::string bytes;
    ASSERT_TRUE(ReadRawValue(HKEY_CURRENT_USER, kFastFolderKey, "00", type, bytes));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(Z("C:\\Binary"), bytes);
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

    // The list itself stays within its 260-byte buffer: the long alias is
    // not read, the long path not counted.
    std::string aliases[kMaxFastFolders];
    std::string paths[kMaxFastFolders];
    EXPECT_EQ(0, ReadFastFolders(kMaxFastFolders, aliases, paths));
    EXPECT_EQ("", aliases[0]);
    EXPECT_EQ("C", aliases[1]);
    EXPECT_EQ("", paths[1]);
}

TEST_F(Store, ReadingStopsAtTheRequestedCountAndSkipsUnreadableIndices)
{
    PutItem(0, "A", "C:\\A");
    PutItem(2, "C", "C:\\C");
    std::string aliases[kMaxFastFolders] = {"x0", "x1", "x2"};
    std::string paths[kMaxFastFolders] = {"y0", "y1", "y2"};
    EXPECT_EQ(1, ReadFastFolders(2, aliases, paths));
    EXPECT_EQ("A", aliases[0]);
    EXPECT_EQ("x1", aliases[1]);
    EXPECT_EQ("y1", paths[1]);
    EXPECT_EQ("x2", aliases[2]);
    EXPECT_EQ(2, CountFastFolders()); // a gap does not stop the count
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
    EXPECT_FALSE(AddFastFolder("Docs", "C:\\Docs"));
    EXPECT_FALSE(DeleteFastFolder("0"));
    CompactFastFolders();
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kFastFolderKey));
}

TEST_F(Store, ReadsUseReadAccessAndWritesWriteAccess)
{
    std::vector<REGSAM> opened;
    Services().registryAccess = [&](HKEY, const std::string& subkey, REGSAM access) {
        if (subkey == kFastFolderKey)
            opened.push_back(access);
        return true;
    };
    CountFastFolders();
    AddFastFolder("A", "C:\\A");
    DeleteFastFolder("0");
    CompactFastFolders();
    Services().registryAccess = nullptr;
    EXPECT_EQ((std::vector<REGSAM>{KEY_READ, KEY_READ, KEY_WRITE, KEY_WRITE, KEY_READ, KEY_WRITE}),
              opened);
}

TEST_F(Store, AFailedWriteAccessLeavesTheStoreAsItWas)
{
    PutItem(0, "A", "C:\\A");
    PutItem(1, "B", "C:\\B");
    Services().registryAccess = [](HKEY, const std::string&, REGSAM access) {
        return access != KEY_WRITE;
    };
    EXPECT_FALSE(AddFastFolder("C", "C:\\C"));
    EXPECT_FALSE(DeleteFastFolder("0"));
    CompactFastFolders();
    Services().registryAccess = nullptr;
    EXPECT_EQ(Z("A"), Raw("0"));
    EXPECT_EQ(Z("B"), Raw("1"));
    EXPECT_EQ(4u, Values());
}
