#include "systemcmds/SystemCommandRules.h"

#include <gtest/gtest.h>

TEST(SystemCommandRules, DisplayNameDropsOnlyAFourCharacterExtension)
{
    EXPECT_EQ("WINWORD", SystemCommandDisplayName("WINWORD.EXE"));
    EXPECT_EQ("x", SystemCommandDisplayName("x.com"));
    EXPECT_EQ("", SystemCommandDisplayName(".exe"));
    EXPECT_EQ("a.b", SystemCommandDisplayName("a.b"));
    EXPECT_EQ("setup.js", SystemCommandDisplayName("setup.js"));       // three-character extension stays
    EXPECT_EQ("tool.v2", SystemCommandDisplayName("tool.v2.exe"));     // only the last four go
    EXPECT_EQ("abc", SystemCommandDisplayName("abc"));
    EXPECT_EQ("", SystemCommandDisplayName(""));
    EXPECT_EQ("pro.html", SystemCommandDisplayName("pro.html")); // the dot is fifth from the end
}

TEST(SystemCommandRules, QuotesAreStrippedFromTheEndsOnly)
{
    EXPECT_EQ("C:\\Office\\WINWORD.EXE", StripTargetQuotes("\"C:\\Office\\WINWORD.EXE\""));
    EXPECT_EQ("C:\\a b\\x.exe", StripTargetQuotes("C:\\a b\\x.exe"));
    EXPECT_EQ("C:\\x.exe", StripTargetQuotes("\"C:\\x.exe"));   // leading only
    EXPECT_EQ("C:\\x.exe", StripTargetQuotes("C:\\x.exe\""));   // trailing only
    EXPECT_EQ("\"C:\\x.exe\" -a", StripTargetQuotes("\"\"C:\\x.exe\" -a\"")); // one of each, inner ones stay
    EXPECT_EQ("", StripTargetQuotes("\""));
    EXPECT_EQ("", StripTargetQuotes("\"\""));
    EXPECT_EQ("", StripTargetQuotes(""));
}

TEST(SystemCommandRules, OwnEntriesEndInLowerCaseLnk)
{
    EXPECT_TRUE(IsOwnCommandTarget("C:\\Verbosa\\Cmds\\run_notes.lnk"));
    EXPECT_TRUE(IsOwnCommandTarget(".lnk"));
    EXPECT_FALSE(IsOwnCommandTarget("C:\\Links\\RUN_NOTES.LNK"));
    EXPECT_FALSE(IsOwnCommandTarget("C:\\Links\\a.Lnk"));
    EXPECT_FALSE(IsOwnCommandTarget("C:\\a.lnk.exe"));
    EXPECT_FALSE(IsOwnCommandTarget("lnk"));
    EXPECT_FALSE(IsOwnCommandTarget(""));
}
