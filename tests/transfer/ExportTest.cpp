#include "catalogue/Commands.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/Services.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"
#include "transfer/Export.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(TransferCommandLine, ExportAndImportAreRecognisedBeforeAnythingElse)
{
    const TransferParse exportLine = ParseTransferCommandLine("/export \"C:\\My Files\\all.json\" /log C:\\x.log");
    ASSERT_TRUE(exportLine.request);
    EXPECT_EQ(TransferRequest::Action::exportFile, exportLine.request->action);
    EXPECT_EQ("C:\\My Files\\all.json", exportLine.request->file);
    EXPECT_EQ("C:\\x.log", exportLine.request->logFile);

    const TransferParse importLine = ParseTransferCommandLine("-IMPORT set.json /replace /scope user");
    ASSERT_TRUE(importLine.request);
    EXPECT_TRUE(importLine.request->replace);
    EXPECT_EQ(CommandScope::user, importLine.request->scope);

    for (const char* malformed : {"/export", "/import a.json /scope all", "/export a.json /replace", "/import a /log"})
        EXPECT_NE("", ParseTransferCommandLine(malformed).error) << malformed;
    for (const char* other : {"", "C:\\export\\file.txt", "-ffsettings", "export a.json", "/exported a"})
        EXPECT_FALSE(ParseTransferCommandLine(other).IsTransfer()) << other;
}

TEST(Export, WritesEveryCommandOfBothScopesAndTheFastFoldersInUtf8)
{
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
    CreateKey(HKEY_CURRENT_USER, kFastFolderKey);
    ASSERT_TRUE(CreateCommand("cafe", "C:\\Caf\xE9\\a.exe", "-x \"y\"", 7)); // Windows-1252 text
    ASSERT_TRUE(CreateCommand("mine", "C:\\Mine", "", 3, CommandScope::user));
    int blocked = -1;
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder("Docs", "C:\\Docs", blocked));
    WriteFileBytes(folder.Cmds() + "\\run_bad.cfg", "x\\..\\y\r\nC:\\a\r\n\r\n1\r\n");

    std::vector<std::string> report;
    const std::string file = folder.Path() + "\\all.json";
    EXPECT_EQ(kTransferPartial, ExportTo(file, report));
    ASSERT_EQ(2u, report.size());
    EXPECT_NE(std::string::npos, report[0].find("run_bad.cfg")); // said, and the rest exported

    const TransferRead read = ReadTransferJson(ReadFileBytes(file));
    ASSERT_EQ("", read.error);
    ASSERT_EQ(2u, read.commands.size());
    const TransferCommand cafe{"cafe", "C:\\Caf\xC3\xA9\\a.exe", "-x \"y\"", WindowMode::minimized,
                               CommandScope::machine};
    const TransferCommand mine{"mine", "C:\\Mine", "", WindowMode::maximized, CommandScope::user};
    EXPECT_EQ(cafe, read.commands[0].value);
    EXPECT_EQ(mine, read.commands[1].value);
    ASSERT_EQ(1u, read.fastFolders.size());
    EXPECT_EQ((TransferFolder{"Docs", "C:\\Docs"}), read.fastFolders[0].value);
    EXPECT_TRUE(boxes.Boxes().empty()); // no window, no box

    EXPECT_EQ(kTransferFailed, ExportTo(folder.Path() + "\\missing\\all.json", report));
}

} // namespace
