#include "catalogue/CommandLimits.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/Commands.h"
#include "catalogue/ReplacedEntry.h"
#include "catalogue/Shortcut.h"
#include "fastfolders/FastFolderStore.h"
#include "framework/CodePage.h"
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

// Paths to what each file holds: its bytes, or what a link says (in UTF-8).
void AddFiles(const std::wstring& folder, std::map<std::wstring, std::string>& out)
{
    WIN32_FIND_DATAW found{};
    HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::wstring path = folder + L"\\" + found.cFileName;
        LinkFields link;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // A link to an existing file or folder carries the file times of
        // every folder on the way, which change by themselves: compare
        // what it says instead.
        if (path.ends_with(L".lnk") && ReadLink(path, link))
            out[path] = WideToUtf8(link.path + L"|" + link.arguments + L"|" + link.workingDirectory + L"|" +
                                   link.description + L"|" + std::to_wstring(link.showCommand))
                            .value();
        else
            out[path] = ReadFileBytes(path);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// Everything the stores hold: both scopes' App Paths entries and command
// files, and the Fast Folders.
std::map<std::wstring, std::string> Stores(const CTempProgramFolder& folder)
{
    std::map<std::wstring, std::string> all;
    for (const auto& [label, root, key] : {std::tuple{L"HKLM", HKEY_LOCAL_MACHINE, std::wstring(kAppPathsKey)},
                                           std::tuple{L"HKCU", HKEY_CURRENT_USER, std::wstring(kAppPathsKey)},
                                           std::tuple{L"FF", HKEY_CURRENT_USER, FastFolderKey()}})
        for (const auto& [name, value] : ReadKeyTree(root, key))
            all[label + name] = value;
    AddFiles(folder.Cmds(), all);
    AddFiles(folder.UserCmds(), all);
    return all;
}

void Wipe(const CTempProgramFolder& folder)
{
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER})
        RegDeleteTreeW(root, kAppPathsKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, FastFolderKey().c_str());
    CreateKey(HKEY_CURRENT_USER, FastFolderKey());
    RemoveTree(folder.Cmds());
    RemoveTree(folder.UserCmds());
    CreateDirectoryW(folder.Cmds().c_str(), nullptr);
}

int Import(const std::wstring& file, std::vector<std::string>& report, bool replace = false)
{
    TransferRequest request;
    request.action = TransferRequest::Action::importFile;
    request.file = WideToUtf8(file).value();
    request.replace = replace;
    return ImportFrom(request, report);
}

class ImportTest : public MainWindowTest {
protected:
    ImportTest() { CreateKey(HKEY_CURRENT_USER, FastFolderKey()); }
    std::wstring File(const std::wstring& name) const { return folder.Path() + L"\\" + name; }
    // A command line as the program gets it, in the transfer's UTF-8.
    static TransferParse Parse(const std::wstring& line) { return ParseTransferCommandLine(WideToUtf8(line).value()); }
};

TEST_F(ImportTest, ExportWipeImportGivesTheStoresBackByteForByte)
{
    // Windows-1252 text, and text no ANSI code page holds (Cyrillic,
    // Chinese, Polish, an emoji's surrogate pair).
    const std::wstring world = File(L"\x041C\x0438\x0440 \x6587\x0142");
    CreateDirectoryW(File(L"Docs").c_str(), nullptr);
    CreateDirectoryW(File(L"Caf\xE9").c_str(), nullptr);
    CreateDirectoryW(world.c_str(), nullptr);
    ASSERT_TRUE(CreateCommand(L"cafe", L"C:\\Caf\xE9\\men\xFC.exe", L"-x \"\xE9t\xE9\"", 1));
    ASSERT_TRUE(CreateCommand(L"small", File(L"Docs"), L"", 7, CommandScope::user));
    ASSERT_TRUE(CreateCommand(L"big", L"https://example.com/a?b=c", L"", 3, CommandScope::user));
    ASSERT_TRUE(CreateCommand(L"world", L"C:\\\x041C\x0438\x0440\\a.exe", L"\x041C\x0438\x0440 \x6587 \xD83D\xDE00 \x0142", 1));
    int blocked = -1;
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"Docs", File(L"Docs"), blocked));
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"Caf\xE9", File(L"Caf\xE9"), blocked));
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"\x6587\xD83D\xDE00", world, blocked));
    const auto before = Stores(folder);

    std::vector<std::string> report;
    ASSERT_EQ(kTransferDone, ExportTo(File(L"all.json"), report));
    Wipe(folder);
    ASSERT_NE(before, Stores(folder));
    EXPECT_EQ(kTransferDone, Import(File(L"all.json"), report)) << report.back();
    EXPECT_EQ(before, Stores(folder));
    // Again: everything is there already (a URL's shortcut too), so nothing
    // is written and all is done.
    report.clear();
    EXPECT_EQ(kTransferDone, Import(File(L"all.json"), report));
    EXPECT_EQ(before, Stores(folder));
    for (size_t i = 0; i + 1 < report.size(); ++i)
        EXPECT_EQ(0u, report[i].find("Already there: ")) << report[i];
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ImportTest, AHostileFileChangesNothingAndSaysWhy)
{
    ASSERT_TRUE(CreateCommand(L"keep", L"C:\\keep.exe", L"", 1, CommandScope::user));
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
        // Half a surrogate pair, which no store can hold.
        {head + R"("commands": [)" + command("half", "C:\\\\\\ud83d") + "]}", "not valid JSON"},
        {head + R"("commands": [)" + command("keep", "C:\\\\other.exe") + "]}", "replace was not chosen"}};
    for (const auto& [text, why] : files) {
        WriteFileBytes(File(L"hostile.json"), text);
        std::vector<std::string> report;
        EXPECT_EQ(kTransferFailed, Import(File(L"hostile.json"), report)) << why;
        std::string said;
        for (const std::string& line : report)
            said += line + "\n";
        EXPECT_NE(std::string::npos, said.find(why)) << said;
        EXPECT_EQ(before, Stores(folder)) << why;
    }
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, Import(File(L"missing.json"), report));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ImportTest, TheFileMenuExportsAndImportsAfterShowingWhatWillBeDone)
{
    ASSERT_TRUE(CreateCommand(L"old", L"C:\\old.exe", L"", 1, CommandScope::user));
    Open();
    const std::wstring file = File(L"menu.json");
    Services().saveFileName = [&](OPENFILENAMEW& request) {
        EXPECT_STREQ(L"Verbosa commands.json", request.lpstrFile);
        lstrcpynW(request.lpstrFile, file.c_str(), static_cast<int>(request.nMaxFile));
        return TRUE;
    };
    Command(ID_FILE_EXPORT);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[0].text.find(L"Exported 1 command(s)"));

    WriteFileBytes(file, R"({"format": "verbosa", "version": 1, "commands": [
        {"name": "old", "target": "C:\\new.exe", "parameters": "", "window": "normal", "scope": "user"},
        {"name": "fresh", "target": "C:\\fresh.exe", "parameters": "", "window": "maximized", "scope": "user"},
        {"name": "bad/name", "target": "C:\\x.exe", "parameters": "", "window": "normal", "scope": "user"}]})");
    Services().openFileName = [&](OPENFILENAMEW& request) {
        lstrcpynW(request.lpstrFile, file.c_str(), static_cast<int>(request.nMaxFile));
        return TRUE;
    };
    Services().modalDialog = [&](CDialog& dialog) {
        EXPECT_EQ(UINT(IDD_IMPORT_PREVIEW), dialog.GetTemplateId());
        CListCtrl list;
        list.Attach(dialog.GetDlgItem(IDC_IMPORT_LIST));
        auto actions = [&] {
            std::wstring all;
            for (int row = 0; row < list.GetItemCount(); ++row)
                all += list.GetItemText(row, 0) + L"=" + list.GetItemText(row, 1) + L";";
            return all;
        };
        EXPECT_EQ(L"old=Skip;fresh=Add;bad/name=Skip;", actions());
        CheckDlgButton(dialog.GetSafeHwnd(), IDC_IMPORT_REPLACE, BST_CHECKED);
        Press(dialog, IDC_IMPORT_REPLACE);
        EXPECT_EQ(L"old=Replace;fresh=Add;bad/name=Skip;", actions());
        EXPECT_EQ(L"1 to add, 1 to replace, 0 already there, 1 to skip. Nothing is written until you choose Import.",
                  Field(dialog, IDC_IMPORT_SUMMARY));
        Press(dialog, IDOK);
    };
    Command(ID_FILE_IMPORT);
    EXPECT_EQ(CommandLinkPath(L"old", CommandScope::user), ReadStringValue(HKEY_CURRENT_USER, AppPathsKeyName(L"old")));
    EXPECT_NE(std::string::npos, ReadFileBytes(CommandPropertiesPath(L"old", CommandScope::user)).find("C:\\new.exe"));
    EXPECT_TRUE(FileExists(CommandLinkPath(L"fresh", CommandScope::user)));
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(L"2 imported, 1 skipped, 0 could not be written.", boxes.Boxes()[1].text);

    // A file that is not an export: said, and no preview.
    WriteFileBytes(file, "{ nope");
    Command(ID_FILE_IMPORT);
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[2].text.find(L"This file cannot be imported: The file is not valid JSON text."));
}

} // namespace

namespace {

TEST_F(ImportTest, TheImportCommandLineForcesTheScopeAndLogsWhatItDid)
{
    WriteFileBytes(File(L"set.json"), R"({"format": "verbosa", "version": 1, "commands": [
        {"name": "tool", "target": "C:\\tool.exe", "parameters": "", "window": "normal", "scope": "machine"}]})");
    const std::wstring line = L"/import \"" + File(L"set.json") + L"\" /scope user /log \"" + File(L"import.log") + L"\"";
    EXPECT_EQ(kTransferDone, RunTransfer(Parse(line)));
    EXPECT_TRUE(FileExists(CommandPropertiesPath(L"tool", CommandScope::user)));
    EXPECT_EQ(0u, ReadFileBytes(File(L"import.log")).find("Added command tool (user).\r\n"));
    EXPECT_EQ(kTransferFailed, RunTransfer(Parse(L"/import \"" + File(L"none.json") + L"\"")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace

namespace {

TEST_F(ImportTest, AnotherProgramsEntryIsSkippedUnlessReplaceIsAskedForAndThenBackedUp)
{
    const std::wstring key = AppPathsKeyName(L"taken");
    WriteStringValue(HKEY_CURRENT_USER, key, L"", L"C:\\Other\\taken.exe");
    WriteStringValue(HKEY_CURRENT_USER, key, L"Path", L"%TEMP%", REG_EXPAND_SZ);
    const auto other = ReadKeyTree(HKEY_CURRENT_USER, key);
    WriteFileBytes(File(L"set.json"), R"({"format": "verbosa", "version": 1, "commands": [
        {"name": "taken", "target": "C:\\mine.exe", "parameters": "", "window": "normal", "scope": "user"}]})");
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, Import(File(L"set.json"), report));
    EXPECT_EQ("Skipped command taken (user): another program's Run-dialog entry has this name (replace was not "
              "chosen).",
              report[0]);
    EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));

    EXPECT_EQ(kTransferDone, Import(File(L"set.json"), report, true));
    EXPECT_EQ(CommandLinkPath(L"taken", CommandScope::user), ReadStringValue(HKEY_CURRENT_USER, key));
    const std::wstring note = ReadStringValue(HKEY_CURRENT_USER, key, kReplacedEntryValue);
    const std::wstring backup = folder.Backups() + L"\\" + note.substr(0, note.find(L'|'));
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
    WriteFileBytes(File(L"set.json"), OneCommand("long", longest));
    std::vector<std::string> report;
    EXPECT_EQ(kTransferDone, Import(File(L"set.json"), report));
    WriteFileBytes(File(L"set.json"), OneCommand("toolong", std::string(70000, 'p')));
    EXPECT_EQ(kTransferFailed, Import(File(L"set.json"), report));
    EXPECT_EQ("Skipped command toolong (user): the parameters can hold at most 32766 characters.", report.end()[-2]);
    EXPECT_FALSE(FileExists(CommandPropertiesPath(L"toolong", CommandScope::user)));

    ASSERT_EQ(kTransferDone, ExportTo(File(L"all.json"), report));
    const TransferRead read = ReadTransferJson(ReadFileBytes(File(L"all.json")));
    ASSERT_EQ(1u, read.commands.size());
    EXPECT_EQ(longest, read.commands[0].value.parameters);
}

TEST_F(ImportTest, ACommandWhoseEntryOrShortcutWasLostIsRepairedNotCountedAsThere)
{
    ASSERT_TRUE(CreateCommand(L"tool", L"C:\\tool.exe", L"-a", 7, CommandScope::user));
    std::vector<std::string> report;
    ASSERT_EQ(kTransferDone, ExportTo(File(L"all.json"), report));
    const auto whole = Stores(folder);
    const std::wstring link = CommandLinkPath(L"tool", CommandScope::user);
    const std::wstring key = AppPathsKeyName(L"tool");
    const std::function<void()> losses[] = {
        [&] { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); },
        [&] { WriteStringValue(HKEY_CURRENT_USER, key, L"Path", L"C:\\Elsewhere"); },
        [&] { DeleteFileW(link.c_str()); },
        [&] { // the show command, which only the file's header tells truly
            std::string bytes = ReadFileBytes(link);
            bytes[0x3C] = 3;
            WriteFileBytes(link, bytes);
        },
        [&] {
            CShortcut other;
            other.SetTargetPath(L"C:\\tool.exe");
            other.SetArguments(L"-b");
            other.SetShowCommand(7);
            std::wstring message;
            ASSERT_TRUE(other.WriteLink(link, message));
        }};
    for (const auto& lose : losses) {
        lose();
        ASSERT_NE(whole, Stores(folder));
        EXPECT_EQ(kTransferDone, Import(File(L"all.json"), report));
        EXPECT_EQ("Repaired command tool (user).", report.end()[-2]);
        EXPECT_EQ(whole, Stores(folder));
    }
    EXPECT_EQ(kTransferDone, Import(File(L"all.json"), report));
    EXPECT_EQ("Already there: command tool (user).", report.end()[-2]);
}

TEST_F(ImportTest, AnEntryAnotherProgramMadeAfterThePlanIsKept)
{
    WriteFileBytes(File(L"set.json"), OneCommand("late", "-x"));
    for (const bool replace : {false, true}) {
        const ImportPlan plan = PlanImport(ReadImportFile(File(L"set.json")), CurrentImportState(), {replace, {}});
        ASSERT_EQ(ImportAction::add, plan.commands[0].action);
        // Another program's installer runs while the preview is open.
        const std::wstring key = AppPathsKeyName(L"late");
        WriteStringValue(HKEY_CURRENT_USER, key, L"", L"C:\\Other\\late.exe");
        const auto other = ReadKeyTree(HKEY_CURRENT_USER, key);
        std::vector<std::string> report;
        const ImportOutcome outcome = ApplyImport(plan, report);
        ASSERT_EQ(1u, outcome.failures.size());
        EXPECT_NE(std::string::npos, outcome.failures[0].find("appeared after the import was planned"));
        EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));
        EXPECT_FALSE(FileExists(CommandLinkPath(L"late", CommandScope::user)));
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }
}

TEST_F(ImportTest, AllUsersIsRefusedWhenTheProgramRunsFromAUsersOwnFolder)
{
    Services().profilesFolder = GetParentFolder(folder.Path()); // the editor offers only Just me here
    WriteFileBytes(File(L"set.json"), OneCommand("shared", "", "machine"));
    std::vector<std::string> report;
    EXPECT_EQ(kTransferFailed, Import(File(L"set.json"), report));
    EXPECT_EQ("Skipped command shared (machine): Verbosa runs from a user's own folder, which keeps no commands for "
              "all users.",
              report[0]);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"shared")));
}

} // namespace
