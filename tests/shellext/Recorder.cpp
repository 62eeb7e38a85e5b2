// Stand-in for the programs that the extension starts: writes its command
// line into the file named by VERBOSA_RECORDER_LOG and ends.
#include <windows.h>

int main()
{
    char log[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("VERBOSA_RECORDER_LOG", log, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return 1;
    const HANDLE file = CreateFileA(log, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 2;
    const char* line = GetCommandLineA();
    DWORD written = 0;
    WriteFile(file, line, lstrlenA(line), &written, nullptr);
    CloseHandle(file);
    return 0;
}
