// The extension switched on and off through the sheet for real: the runs it
// starts are real regsvr32 processes, which write the prefix's own registry,
// so this test leaves that registry as it found it.
#include "resources/ConfigurationIds.h"
#include "shellsettings/ExtensionRegistration.h"
#include "tests/shellsettings/SheetDriver.h"
#include "tests/support/MessageBoxRecorder.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cstdlib>

namespace {

const std::wstring kHandlerKey = L"Directory\\Background\\shellex\\ContextMenuHandlers\\Tesselator";

bool AnyProcessNamed(const wchar_t* name)
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return false;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
        found = _wcsicmp(entry.szExeFile, name) == 0;
    CloseHandle(snapshot);
    return found;
}

// The sheet does not wait for its runs; the test waits until none is left.
void WaitForRegistrationRuns()
{
    for (int i = 0; i < 600 && AnyProcessNamed(L"regsvr32.exe"); ++i)
        Sleep(100);
    ASSERT_FALSE(AnyProcessNamed(L"regsvr32.exe")) << "regsvr32 still running after a minute";
}

std::wstring DefaultValue(const std::wstring& key, REGSAM view = 0)
{
    return ReadStringValue(HKEY_CLASSES_ROOT, key, L"", view);
}

bool CanStart32BitProcesses()
{
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemWow64DirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return false;
    std::wstring line = L"\"" + std::wstring(folder) + L"\\cmd.exe\" /c exit";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &process))
        return false;
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 30000) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code == 0;
}

void SwitchExtension(int choice)
{
    CMessageBoxRecorder boxes;
    RunSheet([&](CConfigPropSheet& sheet) {
        SelectPage(sheet, 1);
        Click(Page(sheet), choice);
        Press(sheet, IDOK);
    });
    WaitForRegistrationRuns();
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SheetRegistration, SwitchingTheExtensionRegistersTheBuiltLibraryAndRemovesIt)
{
    if (IsShellExtensionRegistered()) // left by a run that was stopped midway
        SwitchExtension(IDC_EXTENSION_DISABLED);
    ASSERT_FALSE(IsShellExtensionRegistered());
    CTempProgramFolder folder(true, L" Program Files");
    const std::wstring library = folder.Path() + L"\\Tesselator.dll";
    ASSERT_TRUE(CopyFileW((BinFolder() + L"\\Tesselator.dll").c_str(), library.c_str(), FALSE));

    SwitchExtension(IDC_EXTENSION_ENABLED);
    EXPECT_TRUE(IsShellExtensionRegistered());
    const std::wstring classId = DefaultValue(kHandlerKey);
    ASSERT_EQ('{', classId.front()) << classId;
    EXPECT_EQ(ShortPath(library), DefaultValue(L"CLSID\\" + classId + L"\\InprocServer32"));

    SwitchExtension(IDC_EXTENSION_DISABLED);
    EXPECT_FALSE(IsShellExtensionRegistered());
    EXPECT_EQ(L"<missing>", DefaultValue(L"CLSID\\" + classId));
}

TEST(SheetRegistration, PerUserRunsRegisterTheLibraryForTheUserAloneAndRemoveIt)
{
    CTempProgramFolder folder(true, L" Program Files");
    ASSERT_TRUE(CopyFileW((BinFolder() + L"\\Tesselator.dll").c_str(), (folder.Path() + L"\\Tesselator.dll").c_str(),
                          FALSE));

    SetShellExtensionRegistered(folder.Path(), true, ExtensionScope::user);
    WaitForRegistrationRuns();
    EXPECT_TRUE(IsShellExtensionRegistered(ExtensionScope::user));
    EXPECT_FALSE(IsShellExtensionRegistered(ExtensionScope::machine));

    SetShellExtensionRegistered(folder.Path(), false, ExtensionScope::user);
    WaitForRegistrationRuns();
    EXPECT_FALSE(IsShellExtensionRegistered(ExtensionScope::user));
}

// The x86 build, which `make test` names through VERBOSA_X86_LIBRARY, beside
// the program in x86\: the sheet also registers it in the 32-bit view.
TEST(SheetRegistration, AnX86CopyIsRegisteredInThe32BitViewAsWell)
{
    const wchar_t* x86Library = _wgetenv(L"VERBOSA_X86_LIBRARY");
    if (sizeof(void*) != 8 || !x86Library || GetFileAttributesW(x86Library) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no x86 build of the library named by VERBOSA_X86_LIBRARY";
    if (!CanStart32BitProcesses())
        GTEST_SKIP() << "this machine cannot start 32-bit processes, so the 32-bit regsvr32 cannot run";

    CTempProgramFolder folder;
    ASSERT_TRUE(CopyFileW((BinFolder() + L"\\Tesselator.dll").c_str(), (folder.Path() + L"\\Tesselator.dll").c_str(),
                          FALSE));
    ASSERT_TRUE(CreateDirectoryW((folder.Path() + L"\\x86").c_str(), nullptr));
    const std::wstring library = folder.Path() + L"\\x86\\Tesselator.dll";
    ASSERT_TRUE(CopyFileW(x86Library, library.c_str(), FALSE));

    SwitchExtension(IDC_EXTENSION_ENABLED);
    const std::wstring classId = DefaultValue(kHandlerKey);
    ASSERT_EQ('{', classId.front()) << classId;
    EXPECT_EQ(ShortPath(library), DefaultValue(L"CLSID\\" + classId + L"\\InprocServer32", KEY_WOW64_32KEY));

    SwitchExtension(IDC_EXTENSION_DISABLED);
    EXPECT_FALSE(IsShellExtensionRegistered());
    EXPECT_EQ(L"<missing>", DefaultValue(L"CLSID\\" + classId, KEY_WOW64_32KEY));
}

} // namespace
