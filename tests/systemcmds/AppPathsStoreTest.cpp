#include "framework/CodePage.h"
#include "tests/systemcmds/AppPathsFixture.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

Names EnumerateAll()
{
    Names names;
    CAppPathsWalk walk;
    if (!walk.Open())
        return names;
    std::string name;
    for (DWORD index = 0;; ++index) {
        const CAppPathsWalk::Step step = walk.NameAt(index, name);
        if (step == CAppPathsWalk::Step::end)
            break;
        if (step == CAppPathsWalk::Step::name)
            names.push_back(name);
    }
    EXPECT_FALSE(walk.IsOpen()); // closed at the end
    return names;
}

} // namespace

TEST(AppPathsStore, EnumeratesEveryEntryInRegistryOrderAndClosesAtTheEnd)
{
    CRegistrySandbox sandbox;
    AddAppPathsEntry("WINWORD.EXE", "C:\\Office\\WINWORD.EXE");
    AddAppPathsEntry("x.com", "C:\\x.com");
    AddBareAppPathsEntry(".exe");
    AddAppPathsEntry("notes.exe", "C:\\Verbosa\\Cmds\\run_notes.lnk"); // listed by the walk; the page skips it

    EXPECT_EQ((Names{".exe", "notes.exe", "WINWORD.EXE", "x.com"}), EnumerateAll());

    CAppPathsWalk walk;
    ASSERT_TRUE(walk.Open());
    EXPECT_EQ(4u, walk.Count());
    // Past the end the name is left as it was.
    std::string name = "unchanged";
    EXPECT_EQ(CAppPathsWalk::Step::end, walk.NameAt(4, name));
    EXPECT_EQ("unchanged", name);
}

TEST(AppPathsStore, AKeyNameOfTheLongestLengthNeverHidesTheEntriesAfterIt)
{
    CRegistrySandbox sandbox;
    const std::string longest = std::string(251, 'n') + ".exe"; // 255 characters
    AddAppPathsEntry("a.exe", "C:\\a.exe");
    // The ANSI calls of the registry refuse to create a name this long; the
    // wide ones do, as another program may have.
    const std::wstring wide = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + std::wstring(251, L'n') + L".exe";
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &created, nullptr));
    RegCloseKey(created);
    AddAppPathsEntry("z.exe", "C:\\z.exe");
    EXPECT_EQ((Names{"a.exe", longest, "z.exe"}), EnumerateAll());
}

TEST(AppPathsStore, MissingOrEmptyAppPathsKeyYieldsNothing)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    EXPECT_TRUE(EnumerateAll().empty());
    CAppPathsWalk missing;
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(0u, missing.Count());

    CreateKey(HKEY_LOCAL_MACHINE, kAppPathsKey);
    EXPECT_TRUE(EnumerateAll().empty());

    AddAppPathsEntry("a.exe", "C:\\a.exe");
    Services().registryAccess = [](HKEY, const std::wstring& subkey, REGSAM) { return subkey != AnsiToWide(kAppPathsKey); };
    EXPECT_TRUE(EnumerateAll().empty()); // not readable: the same as missing
}

TEST(AppPathsStore, EntriesReadTheirTargetThroughTheBoundedBuffer)
{
    CRegistrySandbox sandbox;
    AddAppPathsEntry("WINWORD.EXE", "\"C:\\Program Files\\Office\\WINWORD.EXE\"");
    AddBareAppPathsEntry("novalue.exe");
    AddAppPathsEntry("long.exe", "C:\\" + std::string(297, 'l')); // 300 bytes with the zero
    AddAppPathsEntry("fits.exe", "C:\\" + std::string(256, 'f')); // 259 characters + zero
    AddAppPathsEntry("x.com", "C:\\Tools\\x.com");
    WriteRawValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey("typed.exe"), "", REG_EXPAND_SZ,
                  std::string("%SystemRoot%\\typed.exe") + '\0'); // the type is not looked at

    CRegistryKey holder;
    SystemCommandEntry word = ReadSystemCommandEntry(holder, "WINWORD.EXE");
    EXPECT_EQ("WINWORD.EXE", word.keyName);
    EXPECT_EQ("WINWORD", word.displayName);
    EXPECT_EQ("C:\\Program Files\\Office\\WINWORD.EXE", word.path);
    EXPECT_TRUE(word.pathRead);
    EXPECT_FALSE(holder.IsOpen());

    SystemCommandEntry bare = ReadSystemCommandEntry(holder, "novalue.exe");
    EXPECT_FALSE(bare.pathRead);
    EXPECT_EQ("", bare.path);
    EXPECT_FALSE(holder.IsOpen());

    SystemCommandEntry tooLong = ReadSystemCommandEntry(holder, "long.exe");
    EXPECT_FALSE(tooLong.pathRead);
    EXPECT_EQ("", tooLong.path);

    SystemCommandEntry fits = ReadSystemCommandEntry(holder, "fits.exe");
    EXPECT_TRUE(fits.pathRead);
    EXPECT_EQ(259u, fits.path.size());

    SystemCommandEntry com = ReadSystemCommandEntry(holder, "x.com");
    EXPECT_EQ("x.com", com.keyName); // the row keeps the key it came from
    EXPECT_EQ("x", com.displayName);

    EXPECT_EQ("%SystemRoot%\\typed.exe", ReadSystemCommandEntry(holder, "typed.exe").path);

    // Gone between the walk and the read: listed with an empty path.
    SystemCommandEntry gone = ReadSystemCommandEntry(holder, "vanished.exe");
    EXPECT_FALSE(gone.pathRead);
    EXPECT_EQ("vanished", gone.displayName);
}

TEST(AppPathsStore, AnEntryThatCannotBeOpenedHasNoPath)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    AddAppPathsEntry("locked.exe", "C:\\locked.exe");
    const std::string locked = AppPathsEntryKey("locked.exe");
    REGSAM asked = 0;
    Services().registryAccess = [&](HKEY, const std::wstring& subkey, REGSAM access) {
        if (subkey == AnsiToWide(locked))
            asked = access;
        return subkey != AnsiToWide(locked);
    };

    CRegistryKey holder;
    std::string path = "kept";
    EXPECT_FALSE(ReadAppPathsTarget(holder, "locked.exe", path));
    EXPECT_EQ("kept", path);
    EXPECT_EQ(REGSAM(KEY_QUERY_VALUE), asked); // asked for no more than it needs
    EXPECT_FALSE(holder.IsOpen());
}

TEST(AppPathsStore, DeletingAddressesExactlyTheEntrysKey)
{
    CRegistrySandbox sandbox;
    AddAppPathsEntry("x.com", "C:\\Tools\\x.com");
    AddAppPathsEntry("x.exe", "C:\\Other\\x.exe"); // another program's entry
    AddAppPathsEntry("nested.exe", "C:\\nested.exe");
    AddBareAppPathsEntry("nested.exe\\SupportedProtocols");

    EXPECT_TRUE(DeleteAppPathsKey("x.com"));
    EXPECT_FALSE(AppPathsEntryExists("x.com"));
    EXPECT_TRUE(AppPathsEntryExists("x.exe"));

    EXPECT_FALSE(DeleteAppPathsKey("nested.exe")); // one level only: refused, nothing lost
    EXPECT_TRUE(AppPathsEntryExists("nested.exe\\SupportedProtocols"));

    EXPECT_FALSE(DeleteAppPathsKey("x.com")); // already gone
    EXPECT_TRUE(AppPathsEntryExists("x.exe"));
}
