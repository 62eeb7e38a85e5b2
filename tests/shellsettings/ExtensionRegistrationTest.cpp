#include "shellsettings/ExtensionRegistration.h"
#include "framework/Services.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using Runs = std::vector<std::pair<std::wstring, std::wstring>>;

Runs Flatten(const std::vector<ProcessStart>& runs)
{
    Runs out;
    for (const auto& r : runs)
        out.emplace_back(r.program, r.parameters);
    return out;
}

TEST(ExtensionRegistration, RunsAreTheLongThenTheShortNameByFullRegsvr32Path)
{
    EXPECT_EQ((Runs{{L"C:\\windows\\system32\\regsvr32.exe", L"/s \"C:\\Program Files\\Verbosa\\Tesselator.dll\""},
                    {L"C:\\windows\\system32\\regsvr32.exe", L"/s \"C:\\Program Files\\Verbosa\\Tessel~1.dll\""}}),
              Flatten(ShellExtensionRuns(L"C:\\Program Files\\Verbosa", true, L"C:\\windows\\system32",
                                         L"C:\\windows\\syswow64", false)));
    EXPECT_EQ((Runs{{L"S\\regsvr32.exe", L"/u /s \"C:\\Tools\\Tesselator.dll\""},
                    {L"S\\regsvr32.exe", L"/u /s \"C:\\Tools\\Tessel~1.dll\""},
                    {L"W\\regsvr32.exe", L"/u /s \"C:\\Tools\\x86\\Tesselator.dll\""},
                    {L"W\\regsvr32.exe", L"/u /s \"C:\\Tools\\x86\\Tessel~1.dll\""}}),
              Flatten(ShellExtensionRuns(L"C:\\Tools", false, L"S", L"W", true)));
    // 32-bit Windows has no 32-bit system folder of its own: the x86 copy is
    // the library there, so no second pair.
    EXPECT_EQ(2u, ShellExtensionRuns(L"C:\\Tools", true, L"S", L"", true).size());
}

TEST(ExtensionRegistration, UserRunsAskForTheUserInstallWithTheSamePathsAndOrder)
{
    EXPECT_EQ((Runs{{L"S\\regsvr32.exe", L"/n /i:user /s \"C:\\Tools\\Tesselator.dll\""},
                    {L"S\\regsvr32.exe", L"/n /i:user /s \"C:\\Tools\\Tessel~1.dll\""},
                    {L"W\\regsvr32.exe", L"/n /i:user /s \"C:\\Tools\\x86\\Tesselator.dll\""},
                    {L"W\\regsvr32.exe", L"/n /i:user /s \"C:\\Tools\\x86\\Tessel~1.dll\""}}),
              Flatten(ShellExtensionRuns(L"C:\\Tools", true, L"S", L"W", true, ExtensionScope::user)));
    EXPECT_EQ((Runs{{L"S\\regsvr32.exe", L"/u /n /i:user /s \"C:\\Tools\\Tesselator.dll\""},
                    {L"S\\regsvr32.exe", L"/u /n /i:user /s \"C:\\Tools\\Tessel~1.dll\""}}),
              Flatten(ShellExtensionRuns(L"C:\\Tools", false, L"S", L"W", false, ExtensionScope::user)));

    // Each scope reads its own handler key.
    CRegistrySandbox sandbox;
    CreateKey(HKEY_CURRENT_USER, L"Software\\Classes\\Directory\\Background\\ShellEx\\ContextMenuHandlers\\Tesselator");
    EXPECT_TRUE(IsShellExtensionRegistered(ExtensionScope::user));
    EXPECT_FALSE(IsShellExtensionRegistered(ExtensionScope::machine));
}

TEST(ExtensionRegistration, StartsTheRunsForTheProgramFolderAndReadsTheHandlerKey)
{
    CServicesGuard services;
    CRegistrySandbox sandbox;
    CTempProgramFolder folder;
    std::vector<ProcessStart> started;
    Services().startProcess = [&](const ProcessStart& run) { started.push_back(run); };

    SetShellExtensionRegistered(folder.Path(), true);
    ASSERT_EQ(2u, started.size());
    EXPECT_EQ(L"/s \"" + folder.Path() + L"\\Tesselator.dll\"", started[0].parameters);
    EXPECT_NE(std::wstring::npos, started[0].program.find(L"\\regsvr32.exe"));
    EXPECT_NE(0u, started[0].program.find(L"regsvr32")); // a full path, not a bare name

    started.clear();
    CreateDirectoryW((folder.Path() + L"\\x86").c_str(), nullptr);
    WriteFileBytes(folder.Path() + L"\\x86\\Tesselator.dll", "MZ");
    SetShellExtensionRegistered(folder.Path(), false);
    if (sizeof(void*) == 8) { // 64-bit Windows has a 32-bit system folder
        ASSERT_EQ(4u, started.size());
        EXPECT_EQ(L"/u /s \"" + folder.Path() + L"\\x86\\Tessel~1.dll\"", started[3].parameters);
        EXPECT_NE(started[0].program, started[3].program);
    }
    Services().startProcess = nullptr;

    EXPECT_FALSE(IsShellExtensionRegistered());
    CreateKey(HKEY_CLASSES_ROOT, L"Directory\\Background\\ShellEx\\ContextMenuHandlers\\Tesselator");
    EXPECT_TRUE(IsShellExtensionRegistered()); // key names compare without case
}

} // namespace
