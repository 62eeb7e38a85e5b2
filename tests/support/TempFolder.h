#pragma once
// A scratch program folder: <temp>\verbosa-<n>\ with a Cmds folder, made the
// program folder of this process for the object's lifetime, removed after;
// its AppData\Verbosa stands for the user's %APPDATA%\Verbosa and its
// LocalAppData\Verbosa for %LOCALAPPDATA%\Verbosa and its ProgramData\Verbosa
// for %ProgramData%\Verbosa.
#include "framework/Services.h"

#include <string>
#include <vector>

class CTempProgramFolder {
public:
    explicit CTempProgramFolder(bool withCmds = true, const std::wstring& leafName = L"");
    ~CTempProgramFolder();
    CTempProgramFolder(const CTempProgramFolder&) = delete;
    CTempProgramFolder& operator=(const CTempProgramFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    std::wstring Cmds() const { return m_path + L"\\Cmds"; }
    // The user's own Cmds folder (%APPDATA%\Verbosa\Cmds) of this process.
    std::wstring UserCmds() const { return m_path + L"\\AppData\\Verbosa\\Cmds"; }
    // Where backups of deleted App Paths entries go (%LOCALAPPDATA%\Verbosa\Backups).
    std::wstring Backups() const { return m_path + L"\\LocalAppData\\Verbosa\\Backups"; }
    // Where backups of All users entries go (%ProgramData%\Verbosa\Backups).
    std::wstring MachineBackups() const { return m_path + L"\\ProgramData\\Verbosa\\Backups"; }

private:
    CServicesGuard m_services; // puts the real program path back
    std::wstring m_path;
};

// Whole file as bytes; empty when missing.
std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// The names of the files (not folders) a search for the pattern finds, in its order.
std::vector<std::wstring> FileNames(const std::wstring& pattern);
// Removes a folder with everything below it.
void RemoveTree(const std::wstring& path);
// The folder of the test program, where the build puts the libraries too.
std::wstring BinFolder();
// The 8.3 form of an existing path; the path itself when there is none.
std::wstring ShortPath(const std::wstring& path);
