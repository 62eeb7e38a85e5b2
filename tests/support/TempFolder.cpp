#include "tests/support/TempFolder.h"

#include "catalogue/CommandPaths.h"

#include <windows.h>

#include <atomic>
#include <fstream>
#include <sstream>

CTempProgramFolder::CTempProgramFolder(bool withCmds, const std::string& leafName)
{
    static std::atomic<int> counter{0};
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    std::string base = temp;
    if (!base.empty() && base.back() == '\\')
        base.pop_back();
    m_path = base + "\\verbosa-" + std::to_string(GetCurrentProcessId()) + "-" +
             std::to_string(counter++) + leafName;
    CreateDirectoryA(m_path.c_str(), nullptr);
    if (withCmds)
        CreateDirectoryA(Cmds().c_str(), nullptr);
    Services().programPath = m_path + "\\quillon.exe";
    Services().userDataFolder = m_path + "\\AppData\\Verbosa"; // made by the program when needed
    Services().localDataFolder = m_path + "\\LocalAppData\\Verbosa";
    Services().machineDataFolder = m_path + "\\ProgramData\\Verbosa";
    // The scratch folder lies in the Wine user's profile; as a program folder
    // it stands for one every user can read.
    Services().profilesFolder = "C:\\NoProfilesHere";
    CreateDirectoryA((m_path + "\\AppData").c_str(), nullptr);
    CreateDirectoryA((m_path + "\\ProgramData").c_str(), nullptr); // as %ProgramData% always is
}

CTempProgramFolder::~CTempProgramFolder()
{
    RemoveTree(m_path);
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FileNames(const std::string& pattern)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(path.c_str());
}

std::string BinFolder()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length < MAX_PATH ? length : 0);
    return folder.substr(0, folder.find_last_of('\\'));
}

std::string ShortPath(const std::string& path)
{
    char buffer[MAX_PATH] = {};
    const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : path;
}
