#include "systemcmds/EntryStatusRules.h"
#include "systemcmds/SystemCommandRules.h"

#include <gtest/gtest.h>

TEST(SystemCommandRules, DisplayNameDropsOnlyAFourCharacterExtension)
{
    EXPECT_EQ("WINWORD", SystemCommandDisplayName(std::string("WINWORD.EXE")));
    EXPECT_EQ("x", SystemCommandDisplayName(std::string("x.com")));
    EXPECT_EQ("", SystemCommandDisplayName(std::string(".exe")));
    EXPECT_EQ("a.b", SystemCommandDisplayName(std::string("a.b")));
    EXPECT_EQ("setup.js", SystemCommandDisplayName(std::string("setup.js")));       // three-character extension stays
    EXPECT_EQ("tool.v2", SystemCommandDisplayName(std::string("tool.v2.exe")));     // only the last four go
    EXPECT_EQ("abc", SystemCommandDisplayName(std::string("abc")));
    EXPECT_EQ("", SystemCommandDisplayName(std::string("")));
    EXPECT_EQ("pro.html", SystemCommandDisplayName(std::string("pro.html"))); // the dot is fifth from the end
}

TEST(SystemCommandRules, QuotesAreStrippedFromTheEndsOnly)
{
    EXPECT_EQ("C:\\Office\\WINWORD.EXE", StripTargetQuotes(std::string("\"C:\\Office\\WINWORD.EXE\"")));
    EXPECT_EQ("C:\\a b\\x.exe", StripTargetQuotes(std::string("C:\\a b\\x.exe")));
    EXPECT_EQ("C:\\x.exe", StripTargetQuotes(std::string("\"C:\\x.exe")));   // leading only
    EXPECT_EQ("C:\\x.exe", StripTargetQuotes(std::string("C:\\x.exe\"")));   // trailing only
    EXPECT_EQ("\"C:\\x.exe\" -a", StripTargetQuotes(std::string("\"\"C:\\x.exe\" -a\""))); // one of each, inner ones stay
    EXPECT_EQ("", StripTargetQuotes(std::string("\"")));
    EXPECT_EQ("", StripTargetQuotes(std::string("\"\"")));
    EXPECT_EQ("", StripTargetQuotes(std::string("")));
}

TEST(SystemCommandRules, OwnEntriesEndInLowerCaseLnk)
{
    EXPECT_TRUE(IsOwnCommandTarget(std::string("C:\\Verbosa\\Cmds\\run_notes.lnk")));
    EXPECT_TRUE(IsOwnCommandTarget(std::string(".lnk")));
    EXPECT_FALSE(IsOwnCommandTarget(std::string("C:\\Links\\RUN_NOTES.LNK")));
    EXPECT_FALSE(IsOwnCommandTarget(std::string("C:\\Links\\a.Lnk")));
    EXPECT_FALSE(IsOwnCommandTarget(std::string("C:\\a.lnk.exe")));
    EXPECT_FALSE(IsOwnCommandTarget(std::string("lnk")));
    EXPECT_FALSE(IsOwnCommandTarget(std::string("")));
}

TEST(EntryStatusRules, EachStatusFromTheValuesAndWhatTheProbeFinds)
{
    // The probe's world: what is there, what is on a share.
    const auto probe = [](const std::string& path, bool) {
        if (IsUncPath(path) || path.starts_with("N:"))
            return PathFound::remote;
        return path == "C:\\Tools\\a.exe" || path == "C:\\Tools" || path == "C:\\Cmds\\run_x.lnk" ? PathFound::there
                                                                                                    : PathFound::missing;
    };
    const auto judge = [&](std::optional<std::string> target, const std::string& folders = "") {
        return JudgeEntry(target, folders, probe);
    };
    EXPECT_EQ(EntryStatus::fine, judge("C:\\Tools\\a.exe"));
    EXPECT_EQ(EntryStatus::fine, judge("C:\\Tools\\a.exe", " C:\\Tools ;;\"C:\\Tools\";"));
    EXPECT_EQ(EntryStatus::targetMissing, judge("C:\\Gone\\a.exe", "C:\\Gone"));
    EXPECT_EQ(EntryStatus::folderMissing, judge("C:\\Tools\\a.exe", "C:\\Tools;C:\\Gone"));
    EXPECT_EQ(EntryStatus::noTarget, judge(std::nullopt));
    EXPECT_EQ(EntryStatus::noTarget, judge(""));
    EXPECT_EQ(EntryStatus::ownCommand, judge("C:\\Cmds\\run_x.lnk"));
    EXPECT_EQ(EntryStatus::shortcutMissing, judge("C:\\Cmds\\run_gone.lnk"));
    EXPECT_EQ(EntryStatus::targetMissing, judge("C:\\Cmds\\run_gone.LNK")); // not ours: another program's target
    EXPECT_EQ(EntryStatus::notChecked, judge("\\\\server\\share\\a.exe"));
    EXPECT_EQ(EntryStatus::notChecked, judge("N:\\a.exe"));
    EXPECT_EQ(EntryStatus::notChecked, judge("C:\\Tools\\a.exe", "\\\\server\\bin"));
    EXPECT_EQ(EntryStatus::folderMissing, judge("C:\\Tools\\a.exe", "\\\\server\\bin;C:\\Gone"));

    EXPECT_TRUE(IsUncPath(std::string("\\\\?\\UNC\\server\\a.exe")));
    EXPECT_FALSE(IsUncPath(std::string("\\\\?\\C:\\a.exe")));
    EXPECT_FALSE(IsUncPath(std::string("C:\\a.exe")));
    for (const EntryStatus kept : {EntryStatus::fine, EntryStatus::folderMissing, EntryStatus::notChecked,
                                   EntryStatus::ownCommand})
        EXPECT_EQ(CleanUpOffer::notOffered, OfferForCleanUp(kept, true));
    EXPECT_EQ(CleanUpOffer::ticked, OfferForCleanUp(EntryStatus::noTarget, true));
    EXPECT_EQ(CleanUpOffer::needsRights, OfferForCleanUp(EntryStatus::shortcutMissing, false));
}
