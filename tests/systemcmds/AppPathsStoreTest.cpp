#include "framework/CodePage.h"
#include "tests/systemcmds/AppPathsFixture.h"

#include "framework/RegistryKey.h"
#include "framework/Services.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::wstring>;

Names EnumerateAll()
{
    Names names;
    CAppPathsWalk walk;
    if (!walk.Open())
        return names;
    std::wstring name;
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
    AddAppPathsEntry(L"WINWORD.EXE", L"C:\\Office\\WINWORD.EXE");
    AddAppPathsEntry(L"x.com", L"C:\\x.com");
    AddBareAppPathsEntry(L".exe");
    AddAppPathsEntry(L"notes.exe", L"C:\\Verbosa\\Cmds\\run_notes.lnk"); // listed by the walk; the page skips it

    EXPECT_EQ((Names{L".exe", L"notes.exe", L"WINWORD.EXE", L"x.com"}), EnumerateAll());

    CAppPathsWalk walk;
    ASSERT_TRUE(walk.Open());
    EXPECT_EQ(4u, walk.Count());
    // Past the end the name is left as it was.
    std::wstring name = L"unchanged";
    EXPECT_EQ(CAppPathsWalk::Step::end, walk.NameAt(4, name));
    EXPECT_EQ(L"unchanged", name);
}

TEST(AppPathsStore, AKeyNameOfTheLongestLengthNeverHidesTheEntriesAfterIt)
{
    CRegistrySandbox sandbox;
    const std::wstring longest = std::wstring(251, 'n') + L".exe"; // 255 characters
    AddAppPathsEntry(L"a.exe", L"C:\\a.exe");
    // The ANSI calls of the registry refuse to create a name this long; the
    // wide ones do, as another program may have.
    const std::wstring wide = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + std::wstring(251, L'n') + L".exe";
    HKEY created = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, wide.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                             &created, nullptr));
    RegCloseKey(created);
    AddAppPathsEntry(L"z.exe", L"C:\\z.exe");
    EXPECT_EQ((Names{L"a.exe", longest, L"z.exe"}), EnumerateAll());
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

    AddAppPathsEntry(L"a.exe", L"C:\\a.exe");
    Services().registryAccess = [](HKEY, const std::wstring& subkey, REGSAM) { return subkey != kAppPathsKey; };
    EXPECT_TRUE(EnumerateAll().empty()); // not readable: the same as missing
}

TEST(AppPathsStore, EntriesReadTheirTargetThroughTheBoundedBuffer)
{
    CRegistrySandbox sandbox;
    AddAppPathsEntry(L"WINWORD.EXE", L"\"C:\\Program Files\\Office\\WINWORD.EXE\"");
    AddBareAppPathsEntry(L"novalue.exe");
    AddAppPathsEntry(L"long.exe", L"C:\\" + std::wstring(297, L'l')); // 300 characters with the zero
    AddAppPathsEntry(L"fits.exe", L"C:\\" + std::wstring(256, 'f')); // 259 characters + zero
    AddAppPathsEntry(L"x.com", L"C:\\Tools\\x.com");
    WriteStringValue(HKEY_LOCAL_MACHINE, AppPathsEntryKey(L"typed.exe"), L"", L"%SystemRoot%\\typed.exe", REG_EXPAND_SZ); // the type is not looked at

    CRegistryKey holder;
    SystemCommandEntry word = ReadSystemCommandEntry(holder, L"WINWORD.EXE");
    EXPECT_EQ(L"WINWORD.EXE", word.keyName);
    EXPECT_EQ(L"WINWORD", word.displayName);
    EXPECT_EQ(L"C:\\Program Files\\Office\\WINWORD.EXE", word.path);
    EXPECT_TRUE(word.pathRead);
    EXPECT_FALSE(holder.IsOpen());

    SystemCommandEntry bare = ReadSystemCommandEntry(holder, L"novalue.exe");
    EXPECT_FALSE(bare.pathRead);
    EXPECT_EQ(L"", bare.path);
    EXPECT_FALSE(holder.IsOpen());

    SystemCommandEntry tooLong = ReadSystemCommandEntry(holder, L"long.exe");
    EXPECT_FALSE(tooLong.pathRead);
    EXPECT_EQ(L"", tooLong.path);

    SystemCommandEntry fits = ReadSystemCommandEntry(holder, L"fits.exe");
    EXPECT_TRUE(fits.pathRead);
    EXPECT_EQ(259u, fits.path.size());

    SystemCommandEntry com = ReadSystemCommandEntry(holder, L"x.com");
    EXPECT_EQ(L"x.com", com.keyName); // the row keeps the key it came from
    EXPECT_EQ(L"x", com.displayName);

    EXPECT_EQ(L"%SystemRoot%\\typed.exe", ReadSystemCommandEntry(holder, L"typed.exe").path);

    // Gone between the walk and the read: listed with an empty path.
    SystemCommandEntry gone = ReadSystemCommandEntry(holder, L"vanished.exe");
    EXPECT_FALSE(gone.pathRead);
    EXPECT_EQ(L"vanished", gone.displayName);
}

TEST(AppPathsStore, NamesAndTargetsOutsideTheCodePageAreReadWhole)
{
    CRegistrySandbox sandbox;
    const std::wstring keyName = L"\u0142\u00F3d\u017A.exe";
    const std::wstring target = L"C:\\\u0418\u043D\u0441\u0442\u0440\u0443\u043C\u0435\u043D\u0442\u044B\\\u5DE5\U0001F527.exe";
    AddAppPathsEntry(keyName, target);
    EXPECT_EQ(Names{keyName}, EnumerateAll());
    CRegistryKey holder;
    const SystemCommandEntry entry = ReadSystemCommandEntry(holder, keyName);
    EXPECT_TRUE(entry.pathRead);
    EXPECT_EQ(L"\u0142\u00F3d\u017A", entry.displayName);
    EXPECT_EQ(target, entry.path);
}

TEST(AppPathsStore, AnEntryThatCannotBeOpenedHasNoPath)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    AddAppPathsEntry(L"locked.exe", L"C:\\locked.exe");
    const std::wstring locked = AppPathsEntryKey(L"locked.exe");
    REGSAM asked = 0;
    Services().registryAccess = [&](HKEY, const std::wstring& subkey, REGSAM access) {
        if (subkey == locked)
            asked = access;
        return subkey != locked;
    };

    CRegistryKey holder;
    std::wstring path = L"kept";
    EXPECT_FALSE(ReadAppPathsTarget(holder, L"locked.exe", path));
    EXPECT_EQ(L"kept", path);
    EXPECT_EQ(REGSAM(KEY_QUERY_VALUE), asked); // asked for no more than it needs
    EXPECT_FALSE(holder.IsOpen());
}

TEST(AppPathsStore, DeletingAddressesExactlyTheEntrysKey)
{
    CRegistrySandbox sandbox;
    AddAppPathsEntry(L"x.com", L"C:\\Tools\\x.com");
    AddAppPathsEntry(L"x.exe", L"C:\\Other\\x.exe"); // another program's entry
    AddAppPathsEntry(L"nested.exe", L"C:\\nested.exe");
    AddBareAppPathsEntry(L"nested.exe\\SupportedProtocols");

    EXPECT_TRUE(DeleteAppPathsKey(L"x.com"));
    EXPECT_FALSE(AppPathsEntryExists(L"x.com"));
    EXPECT_TRUE(AppPathsEntryExists(L"x.exe"));

    EXPECT_FALSE(DeleteAppPathsKey(L"nested.exe")); // one level only: refused, nothing lost
    EXPECT_TRUE(AppPathsEntryExists(L"nested.exe\\SupportedProtocols"));

    EXPECT_FALSE(DeleteAppPathsKey(L"x.com")); // already gone
    EXPECT_TRUE(AppPathsEntryExists(L"x.exe"));
}
