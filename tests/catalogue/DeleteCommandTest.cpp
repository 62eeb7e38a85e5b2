#include "tests/catalogue/CatalogueFixture.h"
#include "catalogue/Commands.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"

namespace {

TEST_F(CatalogueTest, DeleteRemovesAllThreeItemsSilentlyAndTheFilesGoToTheRecycleBin)
{
    const std::wstring name = L"rb" + std::to_wstring(GetCurrentProcessId()) + L"x" + std::to_wstring(GetTickCount());
    ASSERT_TRUE(CreateCommand(name, L"C:\\edit.exe", L"", 1));
    EXPECT_TRUE(DeleteCommand(name));
    EXPECT_FALSE(FileExists(Link(name)));
    EXPECT_FALSE(FileExists(Cfg(name)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key(name)));
    // Wine keeps its Recycle Bin in the desktop's trash folder.
    wchar_t home[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"HOME", home, MAX_PATH) > 0) {
        const std::wstring trash = std::wstring(L"Z:") + home + L"\\.local\\share\\Trash\\files\\run_" + name;
        EXPECT_TRUE(FileExists(trash + L".cfg")) << trash;
        EXPECT_TRUE(FileExists(trash + L".lnk")) << trash;
        for (const wchar_t* extension : {L".cfg", L".lnk"}) {
            DeleteFileW((trash + extension).c_str());
            DeleteFileW((std::wstring(L"Z:") + home + L"\\.local\\share\\Trash\\info\\run_" + name + extension +
                         L".trashinfo").c_str());
        }
    }

    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\edit.exe", L"", 1));
    EXPECT_TRUE(DeleteCommand(L"notes"));
    EXPECT_FALSE(FileExists(Link(L"notes")));
    EXPECT_FALSE(FileExists(Cfg(L"notes")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key(L"notes")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CatalogueTest, DeleteGoesOnPastAMissingItemAndReportsIt)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\edit.exe", L"", 1));
    DeleteFileW(Link(L"notes").c_str());
    EXPECT_FALSE(DeleteCommand(L"notes"));
    EXPECT_FALSE(FileExists(Cfg(L"notes")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key(L"notes")));

    ASSERT_TRUE(CreateCommand(L"memo", L"C:\\edit.exe", L"", 1));
    DeleteFileW(Cfg(L"memo").c_str());
    EXPECT_FALSE(DeleteCommand(L"memo"));
    EXPECT_FALSE(FileExists(Link(L"memo")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key(L"memo")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CatalogueTest, DeleteWithoutRegistryRightsRemovesTheFilesAndKeepsTheEntry)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\edit.exe", L"", 1));
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_LOCAL_MACHINE; };
    EXPECT_FALSE(DeleteCommand(L"notes"));
    Services().registryAccess = nullptr;
    EXPECT_FALSE(FileExists(Link(L"notes")));
    EXPECT_FALSE(FileExists(Cfg(L"notes")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key(L"notes")));
}

TEST_F(CatalogueTest, DeleteIsOneLevelAndLeavesOtherCommandsAlone)
{
    ASSERT_TRUE(CreateCommand(L"notes", L"C:\\edit.exe", L"", 1));
    ASSERT_TRUE(CreateCommand(L"notes2", L"C:\\edit.exe", L"", 1));
    CreateKey(HKEY_LOCAL_MACHINE, Key(L"notes") + L"\\Sub");
    EXPECT_FALSE(DeleteCommand(L"notes")); // a key with a subkey is not deleted
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key(L"notes")));
    EXPECT_TRUE(FileExists(Cfg(L"notes2")));
    EXPECT_TRUE(FileExists(Link(L"notes2")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key(L"notes2")));
}

} // namespace
