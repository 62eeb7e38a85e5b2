#pragma once
// Files as the framework opens them: a failed open for reading raises
// CFileError (reported by the message loop); writers report by result.
#include "framework/FileError.h"
#include "framework/Handles.h"
#include "framework/LineReader.h"

#include <string>
#include <string_view>

// Opens an existing file for reading, sharing reads; throws CFileError.
CFileHandle OpenFileForRead(const std::wstring& path);

// A line reader's source over an open file, which stays owned by the caller.
CLineReader::Source FileLineSource(HANDLE file);

// Creates a file or truncates an existing one, and writes raw bytes.
class CTextWriter {
public:
    bool Open(const std::wstring& path);
    bool Write(std::string_view bytes);
    bool Flush();
    bool Close();

private:
    CFileHandle m_file;
};
