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

void AddFiles(const std::wstring& folder, std::map<std::wstring, std::wstring>& out)
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
            out[path] = link.path + L"|" + link.arguments + L"|" + link.workingDirectory + L"|" + link.description +
                        L"|" + std::to_wstring(link.showCommand);
        else
            out[path] = ReadFileBytes(path);
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

// Everything the stores hold: both scopes' App Paths entries and command
// files, and the Fast Folders.
std::map<std::wstring, std::wstring> Stores(const CTempProgramFolder& folder)
{
    std::map<std::wstring, std::wstring> all;
    for (const auto& [label, root, key] : {std::tuple{L"HKLM", HKEY_LOCAL_MACHINE, kAppPathsKey},
                                           std::tuple{L"HKCU", HKEY_CURRENT_USER, kAppPathsKey},
                                           std::tuple{L"FF", HKEY_CURRENT_USER, kFastFolderKey}})
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
    RegDeleteTreeW(HKEY_CURRENT_USER, kFastFolderKey);
    CreateKey(HKEY_CURRENT_USER, kFastFolderKey);
    RemoveTree(folder.Cmds());
    RemoveTree(folder.UserCmds());
    CreateDirectoryW(folder.Cmds().c_str(), nullptr);
}

int Import(const std::wstring& file, std::vector<std::wstring>& report, bool replace = false)
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
    std::wstring File(const std::wstring& name) const { return folder.Path() + L"\\" + name; }
};

TEST_F(ImportTest, ExportWipeImportGivesTheStoresBackByteForByte)
{
    CreateDirectoryW(File(L"Docs").c_str(), nullptr);
    CreateDirectoryW(File(L"Caf\xE9").c_str(), nullptr);
    ASSERT_TRUE(CreateCommand(L"cafe", L"C:\\Caf\xE9\\men\xFC.exe", L"-x \"\xE9t\xE9\"", 1));
    ASSERT_TRUE(CreateCommand(L"small", File(L"Docs"), L"", 7, CommandScope::user));
    ASSERT_TRUE(CreateCommand(L"big", L"https://example.com/a?b=c", L"", 3, CommandScope::user));
    int blocked = -1;
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"Docs", File(L"Docs"), blocked));
    ASSERT_EQ(FastFolderWrite::done, AddFastFolder(L"Caf\xE9", File(L"Caf\xE9"), blocked));
    const auto before = Stores(folder);

    std::vector<std::wstring> report;
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
        EXPECT_EQ(0u, report[i].find(L"Already there: ")) << report[i];
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ImportTest, AHostileFileChangesNothingAndSaysWhy)
{
    ASSERT_TRUE(CreateCommand(L"keep", L"C:\\keep.exe", L"", 1, CommandScope::user));
    const auto before = Stores(folder);
    const std::wstring head = R"({"formatL": "verbosaL", "versionL": 1, )";
    auto command = [](const std::wstring& name, const std::wstring& target) {
        return R"({"nameL": ")L" + name + R"(L", "targetL": ")L" + target +
               R"(L", "parametersL": "L", "windowL": "normalL", "scopeL": "userL"})";
    };
    std::wstring eleven;
    for (int i = 0; i < 11; ++i)
        eleven += std::wstring(i ? L", " : L"") + R"({"aliasL": "F)L" + std::to_wstring(i) + R"(L", "pathL": "C:\\windowsL"})";
    const std::pair<std::wstring, std::wstring> files[] = {
        {head + R"("commandsL": [)" + command(L"cut", L"C:\\\\a"), L"not valid JSON"},
        {head + R"("commandsL": [{"nameL": ["xL"], "targetL": 5}]})", L"\"name\" is missing or not a text"},
        {head + R"("commandsL": )" + std::wstring(11 * 1024 * 1024, ' ') + L"[]}", L"larger than any export"},
        {std::wstring(100000, '[') + std::wstring(100000, ']'), L"not valid JSON"},
        {head + R"("commandsL": [)" + command(L"dup", L"C:\\\\a") + L"," + command(L"DUP", L"C:\\\\b") + L"]}",
         L"more than once"},
        {head + R"("fastFoldersL": [)" + eleven + L"]}", L"only 10 more Fast Folder(s) fit; the file adds 11"},
        {head + R"("commandsL": [)" + command(L"x\\\\..\\\\keep", L"C:\\\\a") + L"]}", L"the name may hold only"},
        {head + R"("commandsL": [)" + command(L"far", L"C:\\\\\xE5\x90\x8D") + L"]}", L"the target holds characters"},
        {head + R"("commandsL": [)" + command(L"fit", L"C:\\\\\xC5\x82") + L"]}", L"the target holds characters"},
        {head + R"("commandsL": [)" + command(L"keep", L"C:\\\\other.exe") + L"]}", L"replace was not chosen"}};
    for (const auto& [text, why] : files) {
        WriteFileBytes(File(L"hostile.json"), text);
        std::vector<std::wstring> report;
        EXPECT_EQ(kTransferFailed, Import(File(L"hostile.json"), report)) << why;
        std::wstring said;
        for (const std::wstring& line : report)
            said += line + L"\n";
        EXPECT_NE(std::wstring::npos, said.find(why)) << said;
        EXPECT_EQ(before, Stores(folder)) << why;
    }
    std::vector<std::wstring> report;
    EXPECT_EQ(kTransferFailed, Import(File(L"missing.json"), report));
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ImportTest, TheFileMenuExportsAndImportsAfterShowingWhatWillBeDone)
{
    ASSERT_TRUE(CreateCommand(L"old", L"C:\\old.exe", L"", 1, CommandScope::user));
    Open();
    const std::wstring file = File(L"menu.json");
    Services().saveFileName = [&](OPENFILENAMEA& request) {
        EXPECT_STREQ(L"Verbosa commands.json", request.lpstrFile);
        lstrcpynA(request.lpstrFile, file.c_str(), static_cast<int>(request.nMaxFile));
        return TRUE;
    };
    Command(ID_FILE_EXPORT);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_NE(std::wstring::npos, boxes.Boxes()[0].text.find(L"Exported 1 command(s)"));

    WriteFileBytes(file, R"({"formatL": "verbosaL", "versionL": 1, "commandsL": [
        {"nameL": "oldL", "targetL": "C:\\new.exeL", "parametersL": "L", "windowL": "normalL", "scopeL": "userL"},
        {"nameL": "freshL", "targetL": "C:\\fresh.exeL", "parametersL": "L", "windowL": "maximizedL", "scopeL": "userL"},
        {"nameL": "bad/nameL", "targetL": "C:\\x.exeL", "parametersL": "L", "windowL": "normalL", "scopeL": "userL"}]})");
    Services().openFileName = [&](OPENFILENAMEA& request) {
        lstrcpynA(request.lpstrFile, file.c_str(), static_cast<int>(request.nMaxFile));
        return TRUE;
    };
    std::vector<std::wstring> rows;
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
    EXPECT_NE(std::wstring::npos, ReadFileBytes(CommandPropertiesPath(L"old", CommandScope::user)).find(L"C:\\new.exe"));
    EXPECT_TRUE(FileExists(CommandLinkPath(L"fresh", CommandScope::user)));
    ASSERT_EQ(2u, boxes.Boxes().size());
    EXPECT_EQ(L"2 imported, 1 skipped, 0 could not be written.", boxes.Boxes()[1].text);

    // A file that is not an export: said, and no preview.
    WriteFileBytes(file, L"{ nope");
    Command(ID_FILE_IMPORT);
    ASSERT_EQ(3u, boxes.Boxes().size());
    EXPECT_EQ(0u, boxes.Boxes()[2].text.find(L"This file cannot be imported: The file is not valid JSON text."));
}

} // namespace

namespace {

TEST_F(ImportTest, TheImportCommandLineForcesTheScopeAndLogsWhatItDid)
{
    WriteFileBytes(File(L"set.json"), R"({"formatL": "verbosaL", "versionL": 1, "commandsL": [
        {"nameL": "toolL", "targetL": "C:\\tool.exeL", "parametersL": "L", "windowL": "normalL", "scopeL": "machineL"}]})");
    const std::wstring line = L"/import \"" + File(L"set.json") + L"\" /scope user /log \"" + File(L"import.log") + L"\"";
    EXPECT_EQ(kTransferDone, RunTransfer(ParseTransferCommandLine(line)));
    EXPECT_TRUE(FileExists(CommandPropertiesPath(L"tool", CommandScope::user)));
    EXPECT_EQ(0u, ReadFileBytes(File(L"import.log")).find(L"Added command tool (user).\r\n"));
    EXPECT_EQ(kTransferFailed, RunTransfer(ParseTransferCommandLine(L"/import \"" + File(L"none.json") + L"\"")));
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace

namespace {

TEST_F(ImportTest, AnotherProgramsEntryIsSkippedUnlessReplaceIsAskedForAndThenBackedUp)
{
    const std::wstring key = AppPathsKeyName(L"taken");
    WriteStringValue(HKEY_CURRENT_USER, key, L"", std::wstring(L"C:\\Other\\taken.exe"));
    WriteStringValue(HKEY_CURRENT_USER, key, L"Path", L"%TEMP%", REG_EXPAND_SZ);
    const auto other = ReadKeyTree(HKEY_CURRENT_USER, key);
    WriteFileBytes(File(L"set.json"), R"({"formatL": "verbosaL", "versionL": 1, "commandsL": [
        {"nameL": "takenL", "targetL": "C:\\mine.exeL", "parametersL": "L", "windowL": "normalL", "scopeL": "userL"}]})");
    std::vector<std::wstring> report;
    EXPECT_EQ(kTransferFailed, Import(File(L"set.json"), report));
    EXPECT_EQ(L"Skipped command taken (user): another program's Run-dialog entry has this name (replace was not "
              L"chosen).",
              report[0]);
    EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));

    EXPECT_EQ(kTransferDone, Import(File(L"set.json"), report, true));
    EXPECT_EQ(CommandLinkPath(L"taken", CommandScope::user), ReadStringValue(HKEY_CURRENT_USER, key));
    const std::wstring note = ReadStringValue(HKEY_CURRENT_USER, key, kReplacedEntryValue);
    const std::wstring backup = folder.Backups() + L"\\" + note.substr(0, note.find('|'));
    ASSERT_TRUE(FileExists(backup));
    ASSERT_EQ(RestoreStatus::restored, RestoreAppPathsBackup(backup, ExistingEntry::replace).status);
    EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));
}

} // namespace

namespace {

std::wstring OneCommand(const std::wstring& name, const std::wstring& parameters, const char* scope = L"user")
{
    return R"({"formatL": "verbosaL", "versionL": 1, "commandsL": [{"nameL": ")L" + name +
           R"(L", "targetL": "C:\\tool.exeL", "parametersL": ")L" + parameters + R"(L", "windowL": "minimizedL", "scopeL": ")L" +
           scope + R"(L"}]})";
}

TEST_F(ImportTest, WhatImportReportsDoneIsListedAndExportedAgain)
{
    const std::wstring longest(kMaxCommandParameters, 'p');
    WriteFileBytes(File(L"set.json"), OneCommand(L"long", longest));
    std::vector<std::wstring> report;
    EXPECT_EQ(kTransferDone, Import(File(L"set.json"), report));
    WriteFileBytes(File(L"set.json"), OneCommand(L"toolong", std::wstring(70000, 'p')));
    EXPECT_EQ(kTransferFailed, Import(File(L"set.json"), report));
    EXPECT_EQ(std::wstring(L"Skipped command toolong (user): ") + TXT_NC_PARAMETERS_TOO_LONG + L".", report.end()[-2]);
    EXPECT_FALSE(FileExists(CommandPropertiesPath(L"toolong", CommandScope::user)));

    ASSERT_EQ(kTransferDone, ExportTo(File(L"all.json"), report));
    const TransferRead read = ReadTransferJson(ReadFileBytes(File(L"all.json")));
    ASSERT_EQ(1u, read.commands.size());
    EXPECT_EQ(longest, read.commands[0].value.parameters);
}

TEST_F(ImportTest, ACommandWhoseEntryOrShortcutWasLostIsRepairedNotCountedAsThere)
{
    ASSERT_TRUE(CreateCommand(L"tool", L"C:\\tool.exe", L"-a", 7, CommandScope::user));
    std::vector<std::wstring> report;
    ASSERT_EQ(kTransferDone, ExportTo(File(L"all.json"), report));
    const auto whole = Stores(folder);
    const std::wstring link = CommandLinkPath(L"tool", CommandScope::user);
    const std::wstring key = AppPathsKeyName(L"tool");
    const std::function<void()> losses[] = {
        [&] { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); },
        [&] { WriteStringValue(HKEY_CURRENT_USER, key, L"Path", std::wstring(L"C:\\Elsewhere")); },
        [&] { DeleteFileW(link.c_str()); },
        [&] { // the show command, which only the file's header tells truly
            std::wstring bytes = ReadFileBytes(link);
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
        EXPECT_EQ(L"Repaired command tool (user).", report.end()[-2]);
        EXPECT_EQ(whole, Stores(folder));
    }
    EXPECT_EQ(kTransferDone, Import(File(L"all.json"), report));
    EXPECT_EQ(L"Already there: command tool (user).", report.end()[-2]);
}

TEST_F(ImportTest, AnEntryAnotherProgramMadeAfterThePlanIsKept)
{
    WriteFileBytes(File(L"set.json"), OneCommand(L"late", L"-x"));
    for (const bool replace : {false, true}) {
        const ImportPlan plan = PlanImport(ReadImportFile(File(L"set.json")), CurrentImportState(), {replace, {}});
        ASSERT_EQ(ImportAction::add, plan.commands[0].action);
        // Another program's installer runs while the preview is open.
        const std::wstring key = AppPathsKeyName(L"late");
        WriteStringValue(HKEY_CURRENT_USER, key, L"", std::wstring(L"C:\\Other\\late.exe"));
        const auto other = ReadKeyTree(HKEY_CURRENT_USER, key);
        std::vector<std::wstring> report;
        const ImportOutcome outcome = ApplyImport(plan, report);
        ASSERT_EQ(1u, outcome.failures.size());
        EXPECT_NE(std::wstring::npos, outcome.failures[0].find(L"appeared after the import was planned"));
        EXPECT_EQ(other, ReadKeyTree(HKEY_CURRENT_USER, key));
        EXPECT_FALSE(FileExists(CommandLinkPath(L"late", CommandScope::user)));
        RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    }
}

TEST_F(ImportTest, AllUsersIsRefusedWhenTheProgramRunsFromAUsersOwnFolder)
{
    Services().profilesFolder = GetParentFolder(folder.Path()); // the editor offers only Just me here
    WriteFileBytes(File(L"set.json"), OneCommand(L"shared", L"", L"machine"));
    std::vector<std::wstring> report;
    EXPECT_EQ(kTransferFailed, Import(File(L"set.json"), report));
    EXPECT_EQ(L"Skipped command shared (machine): Verbosa runs from a user's own folder, which keeps no commands for "
              L"all users.",
              report[0]);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKeyName(L"shared")));
}

} // namespace
