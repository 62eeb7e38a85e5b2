#include "catalogue/CommandName.h"
#include "catalogue/PropertiesFormat.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(CommandName, ExactlyTheDigitsLettersAndFourteenSignsAreLegal)
{
    const std::string signs = "!#$%&()+-|{}_@";
    int legal = 0;
    for (int c = 1; c <= 0xFF; ++c) {
        const bool expected = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
                              (c >= 'a' && c <= 'z') || signs.find(char(c)) != std::string::npos;
        const std::string name = "ok" + std::string(1, char(c)) + "ok";
        EXPECT_EQ(expected, IsLegalCommandName(name)) << "byte " << c;
        legal += expected;
    }
    EXPECT_EQ(10 + 26 + 26 + 14, legal);
    EXPECT_FALSE(IsLegalCommandName(std::string("")));
    EXPECT_FALSE(IsLegalCommandName(std::string("my tool")));
    EXPECT_FALSE(IsLegalCommandName(std::string("a.b")));
    EXPECT_FALSE(IsLegalCommandName(std::string("a\\b")));
    EXPECT_FALSE(IsLegalCommandName(std::string("a\0b", 3)));
    EXPECT_TRUE(IsLegalCommandName(std::string("My(Tool)")));
    EXPECT_TRUE(IsLegalCommandName(std::string("a|b")));
    // Letters of other scripts are not legal, nor is a unit whose low byte
    // alone is a legal sign.
    EXPECT_FALSE(IsLegalCommandName(std::wstring(L"\x0444\x0430\x0439\x043B")));
    EXPECT_FALSE(IsLegalCommandName(std::wstring(L"a\x0121")));
}

TEST(CommandName, LowerCasingTouchesOnlyLettersAndKeepsALegalNameLegal)
{
    // The system's lower-casing of every legal character is its ASCII lower
    // case, so the name that passed the rule is the one stored.
    for (wchar_t c = 1; c <= 0xFF; ++c) {
        if (!IsLegalCommandChar(c))
            continue;
        const wchar_t lower = c >= L'A' && c <= L'Z' ? wchar_t(c - L'A' + L'a') : c;
        EXPECT_EQ(std::wstring(1, lower), ToLowerCommandName(std::wstring(1, c))) << "character " << int(c);
    }
    EXPECT_EQ(L"my-tool_2", ToLowerCommandName(L"My-Tool_2"));
    EXPECT_EQ(L"", ToLowerCommandName(L""));
}

TEST(WindowMode, ComboIndexAndPropertiesLineMapBothWays)
{
    EXPECT_EQ(1, ShowCommandFromModeIndex(0));
    EXPECT_EQ(7, ShowCommandFromModeIndex(1));
    EXPECT_EQ(3, ShowCommandFromModeIndex(2));
    EXPECT_EQ(0, ShowCommandFromModeIndex(-1)); // no selection
    EXPECT_EQ(1, ModeIndexFromPropertiesLine("7"));
    EXPECT_EQ(2, ModeIndexFromPropertiesLine("3"));
    for (const char* other : {"1", "0", "", "33", " 3", "3 ", "abc"})
        EXPECT_EQ(0, ModeIndexFromPropertiesLine(other)) << other;
}

} // namespace
