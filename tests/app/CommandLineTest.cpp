#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, AColonAnywhereMeansPathMode)
{
    EXPECT_EQ(StartMode::path, ClassifyCommandLine("C:\\Data\\report.txt"));
    EXPECT_EQ(StartMode::path, ClassifyCommandLine("a:b"));           // no path, still path mode
    EXPECT_EQ(StartMode::path, ClassifyCommandLine("\"C:\\My Files\"")); // quotes are kept
    EXPECT_EQ(StartMode::path, ClassifyCommandLine(":"));
    EXPECT_EQ(StartMode::path, ClassifyCommandLine("-ffsettings:"));
}

TEST(CommandLine, OnlyTheExactOptionOpensFastFolders)
{
    EXPECT_EQ(StartMode::fastFolders, ClassifyCommandLine("-ffsettings"));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine("-FFSETTINGS"));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine("-ffsettings "));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(" -ffsettings"));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine("/ffsettings"));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("-ffsettings\0", 12)));
    EXPECT_EQ(StartMode::system, ClassifyCommandLine("-systemcommands"));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine("-systemcommands "));
}

TEST(CommandLine, EverythingElseIsNormal)
{
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(""));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine("\\\\server\\share\\file.txt")); // UNC: no colon
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine("report.txt"));
}

} // namespace
