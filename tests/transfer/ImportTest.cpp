#include "catalogue/CommandLimits.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "catalogue/ReplacedEntry.h"
#include "catalogue/Shortcut.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/Services.h"
#include "regbackup/AppPathsBackup.h"
#include "resources/Texts.h"
#include "resources/TransferIds.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/LinkReader.h"
#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/TransferRun.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <tuple>

namespace {

void AddFiles(const std::string& folder, std::map<std::string, std::string>& out)
{
    WIN32_FIND_DATAA found{};
    HANDLE find = FindFirstFileA((folder + "\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string path = folder + "\\" + found.cFileName;
        LinkFields link;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // A link to an existing file or folder carries the file times of
        // every folder on the way, which change by themselves: compare
        // what it says instead.
        if (path.ends_with(".lnk") && ReadLink(path, link))
            out[path] = link.path + "|" + link.arguments + "|" + link.workingDirectory + "|" + link.description +
                        "|" + std::to_string(link.showCommand);
        else
            out[path] = ReadFileBytes(path);
    } while (FindNextFileA(find, &found));
    FindClose(find);
}

// Everything the stores hold: both scopes' App Paths entries and command
// files, and the Fast Folders.
std::map<std::string, std::string> Stores(const CTempProgramFolder& folder)
{
    std::map<std::string, std::string> all;
    for (const auto& [label, root, key] : {std::tuple{"HKLM", HKEY_LOCAL_MACHINE, kAppPathsKey},
                                           std::tuple{"HKCU", HKEY_CURRENT_USER, kAppPathsKey},
                                           std::tuple{"FF", HKEY_CURRENT_USER, kFastFolderKey}})
        for (const auto& [name, value] : ReadKeyTree(root, key))
            all[label + name] = value;
    AddFiles(folder.Cmds(), all);
    AddFiles(folder.UserCmds(), all);
    return all;
}

void Wipe(const CTempProgramFolder& folder)
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        RegDeleteTreeA(root, kAppPathsKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kFastFolderKey);
    CreateKey(HKEY_CURRENT_USER, kFastFolderKey);
    RemoveTree(folder.Cmds());
    RemoveTree(folder.UserCmds());
    CreateDirectoryA(folder.Cmds().c_str(), nullptr);
}

int Import(const std::string& file, std::vector<std::string>& report, bool replace = false)
{
    TransferRequest request;
    request.action = TransferRequest::Action::importFile;
    request.file = file;
    request.replace = replace;
    return ImportFrom(request, report);
}

class ImportTest : public MainWindowTest {
protected:
    ImportTest() { CreateKey(HKEY_CURRENT_USER, kFastFolderKey); }
    std::string File(const std::string& name) const { return folder.Path() + "\\" + name; }
};

TEST_F(ImportTest, ExportWipeImportGivesTheStoresBackByteForByte)
{
    CreateDirectoryA(File("Docs").c_str(), nullptr);
    CreateDirectoryA(File("Caf\xE9").c_str(), nullptr);
    ASSERT_TRUE(CreateCommand("cafe", "C:\\Caf\xE9\\men\xFC.exe", "-x \"\xE9t\xE9\"", 1));
    ASSERT_TRUE(CreateCommand("small", File("Docs"), "", 7, CommandScope::user));
    ASSERT_TRUE(CreateCommand("big", "https://example.com/a?b=c", "", 3, CommandScope::user));
    int blocked = -1;
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder("Docs", File("Docs"), blocked));
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder("Caf\xE9", File("Caf\xE9"), blocked));
    const auto before = Stores(folder);

    std::vector<std::string> report;
    ASSERT_EQ(kTransferDone, ExportTo(File("all.json"), report));
    Wipe(folder);
    ASSERT_NE(before, Stores(folder));
    EXPECT_EQ(kTransferDone, Import(File("all.json"), report)) << report.back();
    EXPECT_EQ(before, Stores(folder));
    // Again: everything is there already (a URL's shortcut too), so nothing
    // is written and all is done.
    report.clear();
    EXPECT_EQ(kTransferDone, Import(File("all.json"), report));
    EXPECT_EQ(before, Stores(folder));
    for (size_t i = 0; i + 1 < report.size(); ++i)
        EXPECT_EQ(0u, report[i].find("Already there: ")) << report[i];
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ImportTest, AHostileFileChangesNothingAndSaysWhy)
{
    ASSERT_TRUE(CreateCommand("keep", "C:\\keep.exe", "", 1, CommandScope::user));
    const auto before = Stores(folder);
    const std::string head = R"({"format": "verbosa", "version": 1, )";
    auto command = [](const std::string& name, const std::string& target) {
        return R"({"name": ")" + name + R"(", "target": ")" + target +
               R"(", "parameters": "", "window": "normal", "scope": "user"})";
    };
    std::string eleven;
    for (int i = 0; i < 11; ++i)
        eleven += std::string(i ? ", " : "") + R"({"alias": "F)" + std::to_string(i) + R"(", "path": "C:\\windows"})";
    const std::pair<std::string, std::string> files[] = {
        {head + R"("commands": [)" + command("cut", "C:\\\\a"), "not valid JSON"},
        {head + R"("commands": [{"name": ["x"], "target": 5}]})", "\"name\" is missing or not a text"},
        {head + R"("commands": )" + std::string(11 * 1024 * 1024, ' ') + "[]}", "larger than any export"},
        {std::string(100000, '[') + std::string(100000, ']'), "not valid JSON"},
        {head + R"("commands": [)" + command("dup", "C:\\\\a") + "," + command("DUP", "C:\\\\b") + "]}",
         "more than once"},
        {head + R"("fastFolders": [)" + eleven + "]}", "only 10 more Fast Folder(s) fit; the file adds 11"},
        {head + R"("commands": [)" + command("x\\\\..\\\\keep", "C:\\\\a") + "]}", "the name may hold only"},
        {head + R"("commands": [)" + command("far", "C:\\\\\xE5\x90\x8D") + "]}", "the target holds characters"},
        {head + R"("commands": [)" + command("fit", "C:\\\\\xC5\x82") + "]}", "the target holds characters"},
        {head + R"("commands": [)" + command("keep", "C:\\\\other.exe") + "]}", "replace was not chosen"}};
    for (const auto& [text, why] : files) {
        WriteFileBytes(File("hostile.json"), text);
        std::vector<std::string> report;
        EXPECT_EQ(kTransferFailed, Import(File("hostile.json"), report)) << why;
        std::string said;
        for (const std::string& line : report)
            said += line + "\n";
        EXPECT_NE(std::string::npos, said.find(why)) << said;
        EXPECT_EQ(before, Stores(folder)) << why;
    }
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, Import(File("missing.json"), report));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ImportTest, TheFileMenuExportsAndImportsAfterShowingWhatWillBeDone)
{
    ASSERT_TRUE(CreateCommand("old", "C:\\old.exe", "", 1, CommandScope::user));
    Open();
    const std::string file = File("menu.json");
    Services().saveFileName = [&](OPENFILENAMEA& request) {
        EXPECT_STREQ("Verbosa commands.json", request.lpstrFile);
        lstrcpynA(request.lpstrFile, file.c_str(), static_cast<int>(request.nMaxFile));
        return TRUE;
    };
    Command(ID_FILE_EXPORT);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(std::string::npos, boxes.Boxes()[0].text.find("Exported 1 command(s)"));

    WriteFileBytes(file, R"({"format": "verbosa", "version": 1, "commands": [
        {"name": "old", "target": "C:\\new.exe", "parameters": "", "window": "normal", "scope": "user"},
        {"name": "fresh", "target": "C:\\fresh.exe", "parameters": "", "window": "maximized", "scope": "user"},
        {"name": "bad/name", "target": "C:\\x.exe", "parameters": "", "window": "normal", "scope": "user"}]})");
    Services().openFileName = [&](OPENFILENAMEA& request) {
        lstrcpynA(request.lpstrFile, file.c_str(), static_cast<int>(request.nMaxFile));
        return TRUE;
    };
    std::vector<std::string> rows;
    Services().modalDialog = [&](CDialog& dialog) {
        EXPECT_EQ(UINT(IDD_IMPORT_PREVIEW), dialog.GetTemplateId());
        CListCtrl list;
        list.Attach(dialog.GetDlgItem(IDC_IMPORT_LIST));
        auto actions = [&] {
            std::string all;
            for (int row = 0; row < list.GetItemCount(); ++row)
                all += list.GetItemText(row, 0) + "=" + list.GetItemText(row, 1) + ";";
            return all;
        };
        EXPECT_EQ("old=Skip;fresh=Add;bad/name=Skip;", actions());
        CheckDlgButton(dialog.GetSafeHwnd(), IDC_IMPORT_REPLACE, BST_CHECKED);
        Press(dialog, IDC_IMPORT_REPLACE);
        EXPECT_EQ("old=Replace;fresh=Add;bad/name=Skip;", actions());
        EXPECT_EQ("1 to add, 1 to replace, 0 already there, 1 to skip. Nothing is written until you choose Import.",
                  Field(dialog, IDC_IMPORT_SUMMARY));
        Press(dialog, IDOK);
    };
    Command(ID_FILE_IMPORT);
    EXPECT_EQ(CommandLinkPath("old", CommandScope::user), ReadStringValue(HKEY_CURRENT_USER, AppPathsKeyName("old")));
    EXPECT_NE(std::string::npos, ReadFileBytes(CommandPropertiesPath("old", CommandScope::user)).find("C:\\new.exe"));
    EXPECT_TRUE(FileExists(CommandLinkPath("fresh", CommandScope::user)));
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ("2 imported, 1 skipped, 0 could not be written.", boxes.Boxes()[1].text);

    // A file that is not an export: said, and no preview.
    WriteFileBytes(file, "{ nope");
    Command(ID_FILE_IMPORT);
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[2].text.find("This file cannot be imported: The file is not valid JSON text."));
}

} // namespace

namespace {

TEST_F(ImportTest, TheImportCommandLineForcesTheScopeAndLogsWhatItDid)
{
    WriteFileBytes(File("set.json"), R"({"format": "verbosa", "version": 1, "commands": [
        {"name": "tool", "target": "C:\\tool.exe", "parameters": "", "window": "normal", "scope": "machine"}]})");
    const std::string line = "/import \"" + File("set.json") + "\" /scope user /log \"" + File("import.log") + "\"";
    EXPECT_EQ(kTransferDone, RunTransfer(ParseTransferCommandLine(line)));
    EXPECT_TRUE(FileExists(CommandPropertiesPath("tool", CommandScope::user)));
    EXPECT_EQ(0u, ReadFileBytes(File("import.log")).find("Added command tool (user).\r\n"));
    EXPECT_EQ(kTransferFailed, RunTransfer(ParseTransferCommandLine("/import \"" + File("none.json") + "\"")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace

namespace {

TEST_F(ImportTest, AnotherProgramsEntryIsSkippedUnlessReplaceIsAskedForAndThenBackedUp)
{
    const std::string key = AppPathsKeyName("taken");
    WriteRawValue(HKEY_CURRENT_USER, key, "", REG_SZ, std::string("C:\\Other\\taken.exe") + '\0');
    WriteRawValue(HKEY_CURRENT_USER, key, "Path", REG_EXPAND_SZ, std::string("%TEMP%") + '\0');
    const auto other = ReadKeyTree(HKEY_CURRENT_USER, key);
    WriteFileBytes(File("set.json"), R"({"format": "verbosa", "version": 1, "commands": [
        {"name": "taken", "target": "C:\\mine.exe", "parameters": "", "window": "normal", "scope": "user"}]})");
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, Import(File("set.json"), report));
    EXPECT_EQ("Skipped command taken (user): another program's Run-dialog entry has this name (replace was not "
              "chosen).",
              report[0]);
    EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));

    EXPECT_EQ(kTransferDone, Import(File("set.json"), report, true));
    EXPECT_EQ(CommandLinkPath("taken", CommandScope::user), ReadStringValue(HKEY_CURRENT_USER, key));
    const std::string note = ReadStringValue(HKEY_CURRENT_USER, key, kReplacedEntryValue);
    const std::string backup = folder.Backups() + "\\" + note.substr(0, note.find('|'));
    ASSERT_TRUE(FileExists(backup));
    ASSERT_EQ(RestoreStatus::restored, RestoreAppPathsBackup(backup, ExistingEntry::replace).status);
    EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));
}

} // namespace

namespace {

std::string OneCommand(const std::string& name, const std::string& parameters, const char* scope = "user")
{
    return R"({"format": "verbosa", "version": 1, "commands": [{"name": ")" + name +
           R"(", "target": "C:\\tool.exe", "parameters": ")" + parameters + R"(", "window": "minimized", "scope": ")" +
           scope + R"("}]})";
}

TEST_F(ImportTest, WhatImportReportsDoneIsListedAndExportedAgain)
{
    const std::string longest(kMaxCommandParameters, 'p');
    WriteFileBytes(File("set.json"), OneCommand("long", longest));
    std::vector<std::string> report;
    EXPECT_EQ(kTransferDone, Import(File("set.json"), report));
    WriteFileBytes(File("set.json"), OneCommand("toolong", std::string(70000, 'p')));
    EXPECT_EQ(kTransferFailed, Import(File("set.json"), report));
    EXPECT_EQ(std::string("Skipped command toolong (user): ") + TXT_NC_PARAMETERS_TOO_LONG + ".", report.end()[-2]);
    EXPECT_FALSE(FileExists(CommandPropertiesPath("toolong", CommandScope::user)));

    ASSERT_EQ(kTransferDone, ExportTo(File("all.json"), report));
    const TransferRead read = ReadTransferJson(ReadFileBytes(File("all.json")));
    ASSERT_EQ(1u, read.commands.size());
    EXPECT_EQ(longest, read.commands[0].value.parameters);
}

TEST_F(ImportTest, ACommandWhoseEntryOrShortcutWasLostIsRepairedNotCountedAsThere)
{
    ASSERT_TRUE(CreateCommand("tool", "C:\\tool.exe", "-a", 7, CommandScope::user));
    std::vector<std::string> report;
    ASSERT_EQ(kTransferDone, ExportTo(File("all.json"), report));
    const auto whole = Stores(folder);
    const std::string link = CommandLinkPath("tool", CommandScope::user);
    const std::string key = AppPathsKeyName("tool");
    const std::function<void()> losses[] = {
        [&] { RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str()); },
        [&] { WriteRawValue(HKEY_CURRENT_USER, key, "Path", REG_SZ, std::string("C:\\Elsewhere") + '\0'); },
        [&] { DeleteFileA(link.c_str()); },
        [&] { // the show command, which only the file's header tells truly
            std::string bytes = ReadFileBytes(link);
            bytes[0x3C] = 3;
            WriteFileBytes(link, bytes);
        },
        [&] {
            CShortcut other;
            other.SetTargetPath("C:\\tool.exe");
            other.SetArguments("-b");
            other.SetShowCommand(7);
            std::string message;
            ASSERT_TRUE(other.WriteLink(link, message));
        }};
    for (const auto& lose : losses) {
        lose();
        ASSERT_NE(whole, Stores(folder));
        EXPECT_EQ(kTransferDone, Import(File("all.json"), report));
        EXPECT_EQ("Repaired command tool (user).", report.end()[-2]);
        EXPECT_EQ(whole, Stores(folder));
    }
    EXPECT_EQ(kTransferDone, Import(File("all.json"), report));
    EXPECT_EQ("Already there: command tool (user).", report.end()[-2]);
}

TEST_F(ImportTest, AnEntryAnotherProgramMadeAfterThePlanIsKept)
{
    WriteFileBytes(File("set.json"), OneCommand("late", "-x"));
    for (const bool replace : {false, true}) {
        const ImportPlan plan = PlanImport(ReadImportFile(File("set.json")), CurrentImportState(), {replace, {}});
        ASSERT_EQ(ImportAction::add, plan.commands[0].action);
        // Another program's installer runs while the preview is open.
        const std::string key = AppPathsKeyName("late");
        WriteRawValue(HKEY_CURRENT_USER, key, "", REG_SZ, std::string("C:\\Other\\late.exe") + '\0');
        const auto other = ReadKeyTree(HKEY_CURRENT_USER, key);
        std::vector<std::string> report;
        const ImportOutcome outcome = ApplyImport(plan, report);
        ASSERT_EQ(1u, outcome.failures.size());
        EXPECT_NE(std::string::npos, outcome.failures[0].find("appeared after the import was planned"));
        EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));
        EXPECT_FALSE(FileExists(CommandLinkPath("late", CommandScope::user)));
        RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    }
}

TEST_F(ImportTest, AllUsersIsRefusedWhenTheProgramRunsFromAUsersOwnFolder)
{
    Services().profilesFolder = GetParentFolder(folder.Path()); // the editor offers only Just me here
    WriteFileBytes(File("set.json"), OneCommand("shared", "", "machine"));
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, Import(File("set.json"), report));
    EXPECT_EQ("Skipped command shared (machine): Verbosa runs from a user's own folder, which keeps no commands for "
              "all users.",
              report[0]);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName("shared")));
}

} // namespace
