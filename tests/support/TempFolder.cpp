#include "tests/support/TempFolder.h"

#include "catalogue/CommandPaths.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

CTempProgramFolder::CTempProgramFolder(bool withCmds, const std::wstring& leafName)
{
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    std::wstring base = temp;
    if (!base.empty() && base.back() == L'\\')
        base.pop_back();
    m_path = base + L"\\verbosa-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
             std::to_wstring(counter++) + leafName;
    CreateDirectoryW(m_path.c_str(), nullptr);
    if (withCmds)
        CreateDirectoryW(Cmds().c_str(), nullptr);
    Services().programPath = m_path + L"\\quillon.exe";
    Services().userDataFolder = m_path + L"\\AppData\\Verbosa"; // made by the program when needed
    Services().localDataFolder = m_path + L"\\LocalAppData\\Verbosa";
    Services().machineDataFolder = m_path + L"\\ProgramData\\Verbosa";
    // The scratch folder lies in the Wine user's profile; as a program folder
    // it stands for one every user can read.
    Services().profilesFolder = L"C:\\NoProfilesHere";
    CreateDirectoryW((m_path + L"\\AppData").c_str(), nullptr);
    CreateDirectoryW((m_path + L"\\ProgramData").c_str(), nullptr); // as %ProgramData% always is
}

CTempProgramFolder::~CTempProgramFolder()
{
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::wstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::wstring& path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FileNames(const std::wstring& pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::wstring& path)
{
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = data.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &data));
        FindClose(find);
    }
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryW(path.c_str());
}

std::wstring BinFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring ShortPath(const std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(buffer, length) : path;
}
