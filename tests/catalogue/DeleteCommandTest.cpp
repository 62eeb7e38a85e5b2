#include "tests/catalogue/CatalogueFixture.h"
#include "catalogue/Commands.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"

namespace {

TEST_F(CatalogueTest, DeleteRemovesAllThreeItemsSilentlyAndTheFilesGoToTheRecycleBin)
{
    const std::string name = "rb" + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
    ASSERT_TRUE(CreateCommand(name, "C:\\edit.exe", "", 1));
    EXPECT_TRUE(DeleteCommand(name));
    EXPECT_FALSE(FileExists(Link(name)));
    EXPECT_FALSE(FileExists(Cfg(name)));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key(name)));
    // Wine keeps its Recycle Bin in the desktop's trash folder.
    char home[MAX_PATH] = {};
    if (GetEnvironmentVariableA("HOME", home, MAX_PATH) > 0) {
        const std::string trash = std::string("Z:") + home + "\\.local\\share\\Trash\\files\\run_" + name;
        EXPECT_TRUE(FileExists(trash + ".cfg")) << trash;
        EXPECT_TRUE(FileExists(trash + ".lnk")) << trash;
        for (const char* extension : {".cfg", ".lnk"}) {
            DeleteFileA((trash + extension).c_str());
            DeleteFileA((std::string("Z:") + home + "\\.local\\share\\Trash\\info\\run_" + name + extension +
                         ".trashinfo").c_str());
        }
    }

    ASSERT_TRUE(CreateCommand("notes", "C:\\edit.exe", "", 1));
    EXPECT_TRUE(DeleteCommand("notes"));
    EXPECT_FALSE(FileExists(Link("notes")));
    EXPECT_FALSE(FileExists(Cfg("notes")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("notes")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CatalogueTest, DeleteGoesOnPastAMissingItemAndReportsIt)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\edit.exe", "", 1));
    DeleteFileA(Link("notes").c_str());
    EXPECT_FALSE(DeleteCommand("notes"));
    EXPECT_FALSE(FileExists(Cfg("notes")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("notes")));

    ASSERT_TRUE(CreateCommand("memo", "C:\\edit.exe", "", 1));
    DeleteFileA(Cfg("memo").c_str());
    EXPECT_FALSE(DeleteCommand("memo"));
    EXPECT_FALSE(FileExists(Link("memo")));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Key("memo")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CatalogueTest, DeleteWithoutRegistryRightsRemovesTheFilesAndKeepsTheEntry)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\edit.exe", "", 1));
    Services().registryAccess = [](HKEY root, const std::wstring&, REGSAM) { return root != HKEY_LOCAL_MACHINE; };
    EXPECT_FALSE(DeleteCommand("notes"));
    Services().registryAccess = nullptr;
    EXPECT_FALSE(FileExists(Link("notes")));
    EXPECT_FALSE(FileExists(Cfg("notes")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("notes")));
}

TEST_F(CatalogueTest, DeleteIsOneLevelAndLeavesOtherCommandsAlone)
{
    ASSERT_TRUE(CreateCommand("notes", "C:\\edit.exe", "", 1));
    ASSERT_TRUE(CreateCommand("notes2", "C:\\edit.exe", "", 1));
    CreateKey(HKEY_LOCAL_MACHINE, Key("notes") + "\\Sub");
    EXPECT_FALSE(DeleteCommand("notes")); // a key with a subkey is not deleted
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("notes")));
    EXPECT_TRUE(FileExists(Cfg("notes2")));
    EXPECT_TRUE(FileExists(Link("notes2")));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, Key("notes2")));
}

} // namespace
