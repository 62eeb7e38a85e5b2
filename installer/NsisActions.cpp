// What the NSIS uninstaller asks of VerbosaSetup.dll (System::Call), so
// that both uninstallers remove commands and put back what they replaced
// with the same code.
#include "installer/SetupSteps.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "regbackup/BackupFolders.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// A silent uninstall shows no details: the lines also go to Uninstall.log
// beside the backups, where a kept backup is found with its reason.
void AppendToBackupLog(CommandScope scope, const std::wstring& text)
{
    const std::wstring file = BackupFolder(scope) + L"\\Uninstall.log";
    CFileHandle log(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!log)
        return; // no folder: nothing was kept there
    const std::string bytes = ShownAsUtf8(text + L"\r\n");
    DWORD written = 0;
    WriteFile(log.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

// Removes the commands of cmdsFolder, All users (perUser 0) or Just me
// (perUser 1), and puts back the entries they had replaced. report (of
// reportChars characters) receives what was put back or kept and why, one
// line each. Returns the number of items that could not be removed, or -1
// when it failed as a whole.
extern "C" int __stdcall RemoveCommandsForUninstall(const wchar_t* cmdsFolder, int perUser, wchar_t* report,
                                                    int reportChars)
{
    try {
        if (report && reportChars > 0)
            report[0] = L'\0';
        if (!cmdsFolder)
            return -1;
        std::vector<std::wstring> log;
        const int failures = RemoveCommands(cmdsFolder, perUser ? CommandScope::user : CommandScope::machine, log);
        std::wstring text;
        for (const std::wstring& line : log)
            text += (text.empty() ? L"Verbosa: " : L"\r\nVerbosa: ") + line;
        if (!text.empty())
            AppendToBackupLog(perUser ? CommandScope::user : CommandScope::machine, text);
        if (report && reportChars > 0) {
            const size_t count = std::min(text.size(), static_cast<size_t>(reportChars) - 1);
            text.copy(report, count);
            report[count] = L'\0';
        }
        return failures;
    } catch (...) {
        return -1; // nothing crosses into the uninstaller
    }
}
