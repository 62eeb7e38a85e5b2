#include "app/CommandLine.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandLine, AColonAnywhereMeansPathMode)
{
    EXPECT_EQ(StartMode::path, ClassifyCommandLine(std::string("C:\\Data\\report.txt")));
    EXPECT_EQ(StartMode::path, ClassifyCommandLine(std::string("a:b")));           // no path, still path mode
    EXPECT_EQ(StartMode::path, ClassifyCommandLine(std::string("\"C:\\My Files\""))); // quotes are kept
    EXPECT_EQ(StartMode::path, ClassifyCommandLine(std::string(":")));
    EXPECT_EQ(StartMode::path, ClassifyCommandLine(std::string("-ffsettings:")));
}

TEST(CommandLine, OnlyTheExactOptionOpensFastFolders)
{
    EXPECT_EQ(StartMode::fastFolders, ClassifyCommandLine(std::string("-ffsettings")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("-FFSETTINGS")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("-ffsettings ")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string(" -ffsettings")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("/ffsettings")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("-ffsettings\0", 12)));
    EXPECT_EQ(StartMode::system, ClassifyCommandLine(std::string("-systemcommands")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("-systemcommands ")));
}

TEST(CommandLine, EverythingElseIsNormal)
{
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("")));
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("\\\\server\\share\\file.txt"))); // UNC: no colon
    EXPECT_EQ(StartMode::normal, ClassifyCommandLine(std::string("report.txt")));
}

} // namespace
