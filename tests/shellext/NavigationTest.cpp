// Choosing a Fast Folder for real: a common Open dialog browses in place, a
// plain window gets a new window on the folder.
#include "tests/shellext/ShellExtFixture.h"
#include "tests/support/TempFolder.h"

#include <commdlg.h>

namespace {

std::string FolderOf(HWND dialog)
{
    char path[MAX_PATH] = {};
    SendMessageA(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
    return path;
}

std::string Lower(std::string text)
{
    CharLowerA(text.data());
    return text;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && std::string(name) == "#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

// Drives the dialog from a timer of its own modal loop, one step a tick.
struct DialogDrive {
    IContextMenu* handler = nullptr;
    HWND dialog = nullptr;
    int step = 0;
    int ticks = 0;
    bool wasActive = false;
    std::string className;
    std::string start, afterMissing, afterChoice;
    HRESULT missingResult = E_FAIL, choiceResult = E_FAIL;
};
DialogDrive* g_drive = nullptr;

void CALLBACK OnDriveTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    DialogDrive& drive = *g_drive;
    if (++drive.ticks > 100) { // 20 s: give up and close whatever is open
        KillTimer(nullptr, timer);
        if (drive.dialog)
            PostMessageA(drive.dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (!drive.dialog) {
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&drive.dialog));
        return;
    }
    switch (drive.step++) {
    case 0:
        // The user right-clicks the file list: the dialog is the active window.
        SetActiveWindow(drive.dialog);
        drive.wasActive = GetActiveWindow() == drive.dialog;
        drive.start = FolderOf(drive.dialog);
        drive.missingResult = InvokeVerb(drive.handler, 1);
        break;
    case 1:
        drive.afterMissing = FolderOf(drive.dialog);
        drive.choiceResult = InvokeVerb(drive.handler, 0);
        break;
    case 2:
        drive.afterChoice = FolderOf(drive.dialog);
        KillTimer(nullptr, timer);
        PostMessageA(drive.dialog, WM_COMMAND, IDCANCEL, 0);
        break;
    }
}

class NavigationTest : public ShellExtTest {};

TEST_F(NavigationTest, OpenDialogBrowsesToTheFolderInPlace)
{
    CTempProgramFolder target(false, "-target");
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    WriteStore({"Target", "Gone"}, {target.Path(), target.Path() + "\\no such folder"});
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    DestroyMenu(BuildMenu(handler.Get(), result));
    ASSERT_EQ(3, HRESULT_CODE(result));

    DialogDrive drive;
    drive.handler = handler.Get();
    g_drive = &drive;
    char file[MAX_PATH] = {};
    OPENFILENAMEA open = {};
    open.lStructSize = sizeof open;
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.lpstrInitialDir = windows;
    open.Flags = OFN_EXPLORER;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, OnDriveTimer);
    GetOpenFileNameA(&open);
    KillTimer(nullptr, timer);
    g_drive = nullptr;

    ASSERT_TRUE(drive.dialog) << "the Open dialog never showed";
    EXPECT_TRUE(drive.wasActive);
    EXPECT_EQ(3, drive.step) << "the dialog closed before the choices were made";
    EXPECT_EQ(Lower(windows), Lower(drive.start));
    // A folder that is gone opens nothing: the dialog stays where it was.
    EXPECT_EQ(S_OK, drive.missingResult);
    EXPECT_EQ(Lower(windows), Lower(drive.afterMissing));
    EXPECT_EQ(S_OK, drive.choiceResult);
    EXPECT_EQ(Lower(target.Path()), Lower(drive.afterChoice));
}

TEST_F(NavigationTest, APlainWindowGetsANewWindowOnTheFolder)
{
    // The shell's "open" on a folder runs the Folder class's open command;
    // in the scratch registry that is the recorder stand-in.
    CTempProgramFolder scratch(false, "-log");
    const std::string log = scratch.Path() + "\\opened.txt";
    SetEnvironmentVariableA("VERBOSA_RECORDER_LOG", log.c_str());
    const std::string command = "\"" + BinFolder() + "\\shellext_recorder.exe\" \"%1\"";
    for (const char* key : {"Folder\\shell\\open\\command", "Directory\\shell\\open\\command"})
        WriteRawValue(HKEY_CLASSES_ROOT, key, "", REG_SZ, command + std::string(1, '\0'));

    CTempProgramFolder target(false, "-plain");
    WriteStore({"Target", "Empty"}, {target.Path(), ""});
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    DestroyMenu(BuildMenu(handler.Get(), result));
    ASSERT_EQ(3, HRESULT_CODE(result));

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "VerbosaPlainWindow";
    RegisterClassA(&windowClass);
    const HWND window = CreateWindowA("VerbosaPlainWindow", "plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                      nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_TRUE(window);
    SetActiveWindow(window);
    ASSERT_EQ(window, GetActiveWindow());
    const auto waitForLog = [&](int tenths) {
        std::string line;
        for (int waited = 0; waited < tenths && line.empty(); ++waited) {
            Sleep(100);
            line = ReadFileBytes(log);
        }
        DeleteFileA(log.c_str());
        return line;
    };

    EXPECT_EQ(S_OK, InvokeVerb(handler.Get(), 0));
    const std::string line = waitForLog(200);
    EXPECT_NE(std::string::npos, Lower(line).find(Lower(target.Path()))) << line;

    // An item removed since the menu was built (never the folder opened
    // before), an empty path, and an offset the menu never had: nothing.
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kStoreKey, "00");
    EXPECT_EQ(S_OK, InvokeVerb(handler.Get(), 0));
    EXPECT_EQ(S_OK, InvokeVerb(handler.Get(), 1));
    EXPECT_EQ(E_INVALIDARG, InvokeVerb(handler.Get(), 3));
    EXPECT_EQ("", waitForLog(30));

    DestroyWindow(window);
    SetEnvironmentVariableA("VERBOSA_RECORDER_LOG", nullptr);
}

} // namespace
