#include "framework/FileReplace.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/Services.h"

#include <algorithm>

namespace {

// The temporary file, closed and removed on every way out unless it took
// the place of the destination.
class CTemporaryFile {
public:
    CTemporaryFile(CFileHandle file, std::wstring path) : m_file(std::move(file)), m_path(std::move(path)) {}
    ~CTemporaryFile()
    {
        m_file.Reset(); // an open file cannot be removed
        if (!m_path.empty())
            DeleteFileW(m_path.c_str());
    }
    CTemporaryFile(const CTemporaryFile&) = delete;
    CTemporaryFile& operator=(const CTemporaryFile&) = delete;
    HANDLE Handle() const { return m_file.Get(); }
    bool Close() { return CloseHandle(m_file.Release()) != FALSE; }
    const std::wstring& Path() const { return m_path; }
    void Keep() { m_path.clear(); }

private:
    CFileHandle m_file;
    std::wstring m_path;
};

bool WriteAll(HANDLE file, std::string_view bytes, DWORD& error)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(file, bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0) {
            error = GetLastError();
            return false;
        }
        done += wrote;
        if (const auto& failing = Services().wholeFileWriteError; failing && (error = failing(done)) != 0)
            return false;
    }
    return true;
}

} // namespace

bool ReplaceFileWhole(const std::wstring& target, std::string_view bytes, DWORD& error)
{
    error = ERROR_SUCCESS;
    if (target.empty()) {
        error = ERROR_INVALID_NAME;
        return false;
    }
    // A name of its own beside the file; a leftover of a run that died is
    // never opened again, only stepped over.
    CFileHandle file;
    std::wstring temporary;
    for (unsigned attempt = 0; !file && attempt < 100; ++attempt) {
        temporary = target + L".~" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(attempt) + L".tmp";
        file.Reset(CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                               nullptr));
        if (!file && (error = GetLastError()) != ERROR_FILE_EXISTS)
            return false;
    }
    if (!file)
        return false;
    CTemporaryFile written(std::move(file), temporary);
    if (!WriteAll(written.Handle(), bytes, error))
        return false;
    if (!FlushFileBuffers(written.Handle()) || !written.Close()) {
        error = GetLastError();
        return false;
    }
    if (!MoveFileExW(written.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
        return false;
    }
    written.Keep();
    return true;
}
