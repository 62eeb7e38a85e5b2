#include "framework/TextFile.h"
#include <algorithm>

CFileHandle OpenFileForRead(const std::wstring& path)
{
    CFileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw CFileError(CFileError::CauseFromWin32(GetLastError()), path);
    return file;
}

CLineReader::Source FileLineSource(HANDLE file)
{
    return [file](char* buffer, size_t size) -> size_t {
        DWORD got = 0;
        if (!ReadFile(file, buffer, static_cast<DWORD>(size), &got, nullptr))
            return 0;
        return got;
    };
}

bool CTextWriter::Open(const std::wstring& path)
{
    m_file.Reset(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    return static_cast<bool>(m_file);
}

bool CTextWriter::Write(std::string_view bytes)
{
    if (!m_file)
        return false;
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD wrote = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
        if (!WriteFile(m_file.Get(), bytes.data() + done, chunk, &wrote, nullptr) || wrote == 0)
            return false;
        done += wrote;
    }
    return true;
}

bool CTextWriter::Flush()
{
    return m_file && FlushFileBuffers(m_file.Get());
}

bool CTextWriter::Close()
{
    if (!m_file)
        return false;
    return CloseHandle(m_file.Release()) != FALSE;
}
