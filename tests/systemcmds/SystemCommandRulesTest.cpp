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
