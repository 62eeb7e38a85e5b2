#include "catalogue/Commands.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/Services.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"
#include "transfer/Export.h"
#include "transfer/TransferCommandLine.h"
#include "transfer/TransferFormat.h"
#include "transfer/TransferRun.h"

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

// Every file of the folder, by name.
std::vector<std::string> FilesIn(const std::string& folder)
{
    return FileNames(folder + "\\*");
}

TEST(Export, AFailedWriteLeavesTheEarlierFileAsItWasAndNoTemporaryFile)
{
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CreateKey(HKEY_CURRENT_USER, kFastFolderKey);
    const std::string out = folder.Path() + "\\out";
    CreateDirectoryA(out.c_str(), nullptr);
    const std::string file = out + "\\all.json";
    WriteFileBytes(file, "the last good export");

    // The disk fills up after the first bytes.
    Services().wholeFileWriteError = [](size_t) { return static_cast<DWORD>(ERROR_DISK_FULL); };
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, ExportTo(file, report));
    EXPECT_NE(std::string::npos, report.back().find("a file there before is unchanged")) << report.back();
    EXPECT_EQ("the last good export", ReadFileBytes(file));
    EXPECT_EQ(std::vector<std::string>{"all.json"}, FilesIn(out));

    // What is there cannot be replaced (a folder): no temporary file stays either.
    Services().wholeFileWriteError = nullptr;
    CreateDirectoryA((out + "\\folder.json").c_str(), nullptr);
    EXPECT_EQ(kTransferFailed, ExportTo(out + "\\folder.json", report));
    EXPECT_EQ(std::vector<std::string>{"all.json"}, FilesIn(out));

    EXPECT_EQ(kTransferDone, ExportTo(file, report));
    EXPECT_EQ("", ReadTransferJson(ReadFileBytes(file)).error);
    EXPECT_EQ(std::vector<std::string>{"all.json"}, FilesIn(out));
}

TEST(Export, ATextTheCodePageCannotReadIsNamedAndLeftOutNeverBlanked)
{
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CreateKey(HKEY_CURRENT_USER, kFastFolderKey);
    Services().ansiCodePage = 932; // a double-byte code page: a lead byte at the end reads as nothing
    WriteFileBytes(folder.Cmds() + "\\run_bad.cfg", "bad\r\nC:\\Tools\\a.exe\r\n-x \x82\r\n1\r\n");
    WriteFileBytes(folder.Cmds() + "\\run_good.cfg", "good\r\nC:\\Tools\\b.exe\r\n\r\n1\r\n");
    std::vector<std::string> report;
    const std::string file = folder.Path() + "\\all.json";
    EXPECT_EQ(kTransferPartial, ExportTo(file, report));
    EXPECT_EQ("Not exported: command bad (machine): its field \"parameters\" holds bytes this computer's code page "
              "cannot read.",
              report[0]);
    const TransferRead read = ReadTransferJson(ReadFileBytes(file));
    ASSERT_EQ(1u, read.commands.size());
    EXPECT_EQ("good", read.commands[0].value.name);
}

TEST(Export, AnUnexpectedFailureEndsTheRunAsFailedWithTheReasonAndNoWindow)
{
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    CMessageBoxRecorder boxes;
    const std::string log = folder.Path() + "\\run.log";
    for (const bool memory : {true, false}) {
        Services().registryAccess = [memory](HKEY, const std::wstring&, REGSAM) -> bool {
            if (memory)
                throw std::bad_alloc();
            throw 5;
        };
        const TransferParse line = ParseTransferCommandLine(
            std::string(memory ? "/export" : "/import") + " \"" + folder.Path() + "\\all.json\" /log \"" + log + "\"");
        if (!memory)
            WriteFileBytes(folder.Path() + "\\all.json", R"({"format": "verbosa", "version": 1})");
        EXPECT_EQ(kTransferFailed, RunTransfer(line));
        EXPECT_NE(std::string::npos,
                  ReadFileBytes(log).find(memory ? "Stopped: there is not enough memory." : "Stopped by an unexpected error."))
            << ReadFileBytes(log);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace
