// Stand-in for the programs that the extension starts: writes its command
// line, as UTF-8, into the file named by VERBOSA_RECORDER_LOG and ends.
#include <windows.h>

#include <string>

int main()
{
    wchar_t log[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"VERBOSA_RECORDER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    const wchar_t* line = GetCommandLineW();
    const int size = WideCharToMultiByte(CP_UTF8, 0, line, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return 3;
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back(); // the terminator
    const HANDLE file = CreateFileW(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
    return 0;
}
