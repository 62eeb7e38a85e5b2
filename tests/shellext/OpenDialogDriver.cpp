#include "tests/shellext/OpenDialogDriver.h"

#include <commdlg.h>

#include <cstdio>

namespace {

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    GetClassNameW(window, name, 16);
    if (IsWindowVisible(window) && std::wstring(name) == L"#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

struct DialogDrive {
    std::vector<DialogStep> steps;
    HWND dialog = nullptr;
    size_t done = 0;
    int ticks = 0;
};
DialogDrive* g_drive = nullptr;

void CALLBACK OnDriveTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    DialogDrive& drive = *g_drive;
    if (!drive.dialog)
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&drive.dialog));
    else if (drive.done < drive.steps.size())
        drive.steps[drive.done++](drive.dialog);
    // Done, or 20 s: close whatever is open.
    if (drive.done == drive.steps.size() || ++drive.ticks > 100) {
        KillTimer(nullptr, timer);
        if (drive.dialog)
            PostMessageW(drive.dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

LONG WINAPI ExitWithCode3(EXCEPTION_POINTERS*)
{
    std::fputs("the handler crashed its host\n", stderr);
    ExitProcess(3);
}

} // namespace

std::wstring FolderOf(HWND dialog)
{
    wchar_t path[MAX_PATH] = {};
    SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
    return path;
}

std::wstring WindowsFolder()
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    return windows;
}

size_t DriveOpenDialog(const std::wstring& folder, std::vector<DialogStep> steps)
{
    DialogDrive drive;
    drive.steps = std::move(steps);
    g_drive = &drive;
    wchar_t file[MAX_PATH] = {};
    OPENFILENAMEW open = {};
    open.lStructSize = sizeof open;
    open.lpstrFile = file;
    open.nMaxFile = MAX_PATH;
    open.lpstrInitialDir = folder.c_str();
    open.Flags = OFN_EXPLORER;
    // The dialog makes each folder it shows the current one, which could
    // then not be removed: the process's own is put back.
    wchar_t current[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, current);
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, OnDriveTimer);
    GetOpenFileNameW(&open);
    KillTimer(nullptr, timer);
    SetCurrentDirectoryW(current);
    g_drive = nullptr;
    return drive.done;
}

HWND CreatePlainWindow()
{
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"VerbosaPlainWindow";
    RegisterClassW(&windowClass);
    return CreateWindowW(L"VerbosaPlainWindow", L"plain", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                         nullptr, windowClass.hInstance, nullptr);
}

void ExitOnCrash()
{
    SetErrorMode(SEM_NOGPFAULTERRORBOX);
    SetUnhandledExceptionFilter(ExitWithCode3);
}
