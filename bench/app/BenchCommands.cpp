#include "bench/app/BenchCommands.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"

#include <windows.h>

namespace {

void WriteWholeFile(const std::wstring& path, const std::string& bytes)
{
    CFileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

} // namespace

void MakeCommands(const std::wstring& cmds, int count)
{
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    const std::string win = WideToUtf8(windows).value_or("C:\\Windows"); // ASCII: the same bytes in 1252
    const std::string targets[] = {win + "\\notepad.exe", win + "\\regedit.exe", win + "\\system32\\calc.exe",
                                   win, win + "\\system32", "http://www.example.com/", "C:\\Docs\\report.txt",
                                   "C:\\Docs\\page.html", "C:\\Docs\\data.unknownext", "C:\\"};
    CreateDirectoryW(cmds.c_str(), nullptr);
    for (int i = 0; i < count; ++i) {
        const std::string name = "cmd" + std::to_string(i);
        const std::string& target = targets[i % (sizeof(targets) / sizeof(targets[0]))];
        WriteWholeFile(cmds + L"\\run_cmd" + std::to_wstring(i) + L".cfg",
                       name + "\r\n" + target + "\r\n-p " + std::to_string(i) + "\r\n1\r\n");
    }
}
