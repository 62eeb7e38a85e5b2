// Which backups are trusted: the put-back note's rules and the check of the
// machine's backup folder's permissions.
#include "regbackup/BackupRules.h"
#include "regbackup/BackupTrustRules.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kHash(64, 'a');

std::string EntryFile(CommandScope scope, const std::u16string& keyName)
{
    RegKey entry{AppPathsEntryRegPath(scope, keyName), {{u"", kRegSz, std::string("C\0:\0\\\0\0\0", 8)}}, {}};
    std::string bytes, why;
    EXPECT_TRUE(WriteRegFile(entry, bytes, why)) << why;
    return bytes;
}

bool Check(const std::string& note, const std::string& fileHash, const std::string& bytes, CommandScope scope,
           std::u16string_view keyName)
{
    ReplacedEntryNote parsed;
    std::string why;
    RegKey entry;
    if (ParseReplacedEntryNote(note, parsed, why) &&
        CheckNotedBackup(parsed, fileHash, bytes, scope, keyName, entry, why))
        return !entry.values.empty();
    EXPECT_NE("", why); // every refusal says why
    return false;
}

} // namespace

TEST(BackupTrustRules, ANoteNamesOnlyAFileOfTheBackupFolderWithItsChecksum)
{
    const ReplacedEntryNote made{"taken.exe-20261208-134501.reg", kHash};
    ReplacedEntryNote read;
    std::string why;
    ASSERT_TRUE(ParseReplacedEntryNote(ReplacedEntryNoteText(made), read, why)) << why;
    EXPECT_EQ(made.fileName, read.fileName);
    EXPECT_EQ(kHash, read.sha256);
    EXPECT_TRUE(ParseReplacedEntryNote("x.REG|" + std::string(64, 'F'), read, why)); // hex in either case
    EXPECT_EQ(std::string(64, 'f'), read.sha256);

    const std::string refused[] = {
        "C:\\Users\\ann\\AppData\\Local\\Verbosa\\Backups\\taken.exe-20261208-134501.reg", // an earlier note
        "..\\taken.reg|" + kHash,       "C:\\evil\\taken.reg|" + kHash, "sub/taken.reg|" + kHash,
        "C:taken.reg|" + kHash,         "taken.txt|" + kHash,           ".reg|" + kHash,
        "taken.reg|" + kHash + "0",     "taken.reg|" + std::string(64, 'g'), "taken.reg\n|" + kHash,
        "",
    };
    for (const std::string& note : refused) {
        why.clear();
        EXPECT_FALSE(ParseReplacedEntryNote(note, read, why)) << note;
        EXPECT_NE("", why) << note;
    }
    EXPECT_EQ("taken.exe-20261208-134501.reg", NoteShownName(ReplacedEntryNoteText(made)));
    EXPECT_EQ(refused[0], NoteShownName(refused[0]));
    EXPECT_EQ(std::string(80, 'x') + "...", NoteShownName(std::string(300, 'x')));
}

TEST(BackupTrustRules, ANotedBackupIsUsedOnlyForTheCommandsOwnEntryAndScopeUnchanged)
{
    const std::string note = "t.reg|" + kHash;
    const std::string machineTaken = EntryFile(CommandScope::machine, u"Taken.EXE");
    EXPECT_TRUE(Check(note, kHash, machineTaken, CommandScope::machine, u"taken.exe")); // registry case rules
    EXPECT_FALSE(Check(note, std::string(64, 'b'), machineTaken, CommandScope::machine, u"taken.exe")); // changed
    EXPECT_FALSE(Check(note, kHash, machineTaken, CommandScope::user, u"taken.exe"));  // other scope
    EXPECT_FALSE(Check(note, kHash, machineTaken, CommandScope::machine, u"other.exe")); // other name
    EXPECT_FALSE(Check(note, kHash, "not a backup", CommandScope::machine, u"taken.exe"));
    RegKey deeper{AppPathsEntryRegPath(CommandScope::machine, u"taken.exe\\sub"), {}, {}};
    std::string bytes, why;
    ASSERT_TRUE(WriteRegFile(deeper, bytes, why));
    EXPECT_FALSE(Check(note, kHash, bytes, CommandScope::machine, u"taken.exe")); // not one whole entry
}

TEST(BackupTrustRules, TheMachinesFolderIsTrustedOnlyWhenAdministratorsAloneCanChangeIt)
{
    const std::string system = "S-1-5-18", admins = "S-1-5-32-544", users = "S-1-5-32-545", me = "S-1-5-21-1-2-3-1001";
    constexpr uint32_t kFull = 0x1F01FF, kRead = 0x1200A9, kAddFile = 0x2, kChangePermissions = 0x40000,
                       kGenericWrite = 0x40000000;
    const FolderSecurity made{admins, true, {{system, true, kFull}, {admins, true, kFull}, {users, true, kRead}}};
    EXPECT_TRUE(OnlyAdministratorsWrite(made, me));

    FolderSecurity changed = made;
    for (uint32_t right : {kAddFile, kChangePermissions, kGenericWrite}) {
        changed.dacl.back() = {users, true, kRead | right};
        EXPECT_FALSE(OnlyAdministratorsWrite(changed, me)) << right;
    }
    changed.dacl.back() = {users, false, kFull}; // a denial takes nothing away from administrators
    EXPECT_TRUE(OnlyAdministratorsWrite(changed, me));

    FolderSecurity ownedByAUser = made;
    ownedByAUser.owner = "S-1-5-21-1-2-3-1002";
    EXPECT_FALSE(OnlyAdministratorsWrite(ownedByAUser, me)); // its owner can change its permissions
    ownedByAUser.owner = me;
    EXPECT_TRUE(OnlyAdministratorsWrite(ownedByAUser, me));
    EXPECT_FALSE(OnlyAdministratorsWrite({admins, false, {}}, me)); // no DACL: everyone may do anything
}
