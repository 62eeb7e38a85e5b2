#include "transfer/ImportPlan.h"

#include <gtest/gtest.h>

#include <map>

namespace {

TransferEntry<TransferCommand> Command(std::string name, std::string target, CommandScope scope = CommandScope::user)
{
    return {{std::move(name), std::move(target), "", WindowMode::normal, scope}, ""};
}

TransferEntry<TransferFolder> Folder(std::string alias, std::string path)
{
    return {{std::move(alias), std::move(path)}, ""};
}

struct FakeMachine {
    std::map<std::string, TransferCommand> commands; // by name; scope is in the value
    std::vector<TransferFolder> folders;
    bool elevated = false;
    bool broken = false; // every command's App Paths entry or shortcut is lost

    ImportState State() const
    {
        ImportState state;
        state.command = [this](const TransferCommand& command) {
            ExistingCommand existing;
            const auto found = commands.find(command.name);
            if (found != commands.end() && found->second.scope == command.scope)
                existing = {true, true, found->second, false, !broken};
            return existing;
        };
        state.isFolder = [](const std::string& path) { return path.rfind("C:\\", 0) == 0; };
        state.folders = folders;
        state.machineScope = elevated ? MachineScopeOffer::offered : MachineScopeOffer::needsElevation;
        return state;
    }
};

TEST(ImportPlan, EachCommandIsAddedReplacedLeftOrSkippedWithTheEditorsRules)
{
    FakeMachine machine;
    machine.commands["same"] = Command("same", "C:\\same.exe").value;
    machine.commands["other"] = Command("other", "C:\\old.exe").value;
    TransferRead read;
    read.commands = {Command("New", "C:\\Tools\\\\"),                  // lower-cased, trimmed
                     Command("same", "C:\\same.exe"),                  // identical: nothing to write
                     Command("other", "C:\\new.exe"),                  // differs: replace only when asked
                     Command("x\\..\\y", "C:\\x"),                     // breaks the name rule
                     Command("empty", "\\"),                           // nothing left once trimmed
                     Command("split", "C:\\a\r\nb"),                   // would split the properties file
                     Command("long", "C:\\" + std::string(300, 'a')), // longer than a shortcut holds
                     Command("twice", "C:\\a"), Command("TWICE", "C:\\b"), // which one is meant is unknown
                     Command("all", "C:\\a", CommandScope::machine),       // needs administrator rights
                     {{}, "\"target\" is missing or not a text"}};
    const ImportPlan plan = PlanImport(read, machine.State(), {});
    ASSERT_EQ(11u, plan.commands.size());
    EXPECT_EQ((TransferCommand{"new", "C:\\Tools", "", WindowMode::normal, CommandScope::user}),
              plan.commands[0].command);
    const ImportAction expected[] = {ImportAction::add,  ImportAction::same, ImportAction::skip, ImportAction::skip,
                                     ImportAction::skip, ImportAction::skip, ImportAction::skip, ImportAction::skip,
                                     ImportAction::skip, ImportAction::skip, ImportAction::skip};
    for (size_t i = 0; i < plan.commands.size(); ++i) {
        EXPECT_EQ(expected[i], plan.commands[i].action) << i;
        EXPECT_EQ(expected[i] == ImportAction::skip, !plan.commands[i].reason.empty()) << i;
    }
    EXPECT_EQ("\"target\" is missing or not a text", plan.commands[10].reason);

    EXPECT_EQ(ImportAction::replace, PlanImport(read, machine.State(), {true, {}}).commands[2].action);
    machine.elevated = true;
    const ImportPlan forced = PlanImport(read, machine.State(), {false, CommandScope::machine});
    EXPECT_EQ(ImportAction::add, forced.commands[2].action); // the user's "other" is not all users'
    EXPECT_EQ(ImportAction::add, forced.commands[9].action);

    machine.broken = true; // its App Paths entry or shortcut was lost: written again
    EXPECT_EQ(ImportAction::repair, PlanImport(read, machine.State(), {}).commands[1].action);
    ImportState ownFolder = machine.State();
    ownFolder.machineScope = MachineScopeOffer::privateFolder; // the editor offers no All users there either
    EXPECT_EQ("Verbosa runs from a user's own folder, which keeps no commands for all users",
              PlanImport(read, ownFolder, {}).commands[9].reason);
}

TEST(ImportPlan, FastFoldersFollowTheDialogsRulesAndNeverOverflowTheTen)
{
    FakeMachine machine;
    machine.folders = {{"Docs", "C:\\Docs"}, {"Music", "C:\\Music"}};
    TransferRead read;
    read.fastFolders = {Folder("DOCS", "C:\\Docs"),      Folder("music", "C:\\Other"), Folder("Gone", "D:\\Nowhere"),
                        Folder("Dup", "C:\\a"),          Folder("dup", "C:\\b"),       Folder("", "C:\\x"),
                        Folder("Long", "C:\\" + std::string(300, 'a')), Folder("New", "C:\\New\\")};
    ImportPlan plan = PlanImport(read, machine.State(), {});
    const ImportAction expected[] = {ImportAction::same, ImportAction::skip, ImportAction::skip, ImportAction::skip,
                                     ImportAction::skip, ImportAction::skip, ImportAction::skip, ImportAction::add};
    for (size_t i = 0; i < plan.folders.size(); ++i)
        EXPECT_EQ(expected[i], plan.folders[i].action) << i;
    EXPECT_EQ("C:\\New", plan.folders[7].folder.path);
    EXPECT_EQ(ImportAction::replace, PlanImport(read, machine.State(), {true, {}}).folders[1].action);

    // Nine new ones beside two held: none is added, and the reason says so.
    read.fastFolders.clear();
    for (int i = 0; i < 9; ++i)
        read.fastFolders.push_back(Folder("F" + std::to_string(i), "C:\\F"));
    plan = PlanImport(read, machine.State(), {});
    EXPECT_EQ(9, CountPlan(plan).skip);
    EXPECT_EQ("only 8 more Fast Folder(s) fit; the file adds 9", plan.folders[0].reason);
    machine.folders.pop_back();
    EXPECT_EQ(9, CountPlan(PlanImport(read, machine.State(), {})).add);
}

} // namespace
