// The system's Open dialog, whose library is loaded only when a dialog is
// first asked for: it still appears, and cancelling it chooses nothing.
#include "framework/FileDialog.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

BOOL CALLBACK FindOwnDialog(HWND window, LPARAM found)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    wchar_t className[16] = {};
    GetClassNameW(window, className, ARRAYSIZE(className));
    if (process != GetCurrentProcessId() || !IsWindowVisible(window) || lstrcmpW(className, L"#32770") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

TEST(FileDialogTest, TheSystemOpenDialogAppearsAndACancelChoosesNothing)
{
    std::atomic<bool> seen{false};
    std::atomic<bool> done{false};
    std::thread closer([&] {
        for (int i = 0; i < 600 && !done; ++i) {
            HWND dialog = nullptr;
            EnumWindows(FindOwnDialog, reinterpret_cast<LPARAM>(&dialog));
            if (dialog) {
                seen = true;
                PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            }
            Sleep(50);
        }
    });
    FileDialogRequest request;
    request.title = L"Pick";
    request.filter = L"Text|*.txt||";
    const std::wstring chosen = ChooseFileToOpen(request);
    done = true;
    closer.join();
    EXPECT_TRUE(seen);
    EXPECT_EQ(L"", chosen);
}

} // namespace
