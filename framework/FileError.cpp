#include "framework/FileError.h"

#include "framework/MessageBox.h"

const wchar_t* FileErrorTemplate(CFileError::Cause cause)
{
    switch (cause) {
    case CFileError::fileNotFound: return L"%1 was not found.";
    case CFileError::badPath: return L"%1 contains an invalid path.";
    case CFileError::tooManyOpenFiles: return L"%1 could not be opened because there are too many open files.";
    case CFileError::accessDenied: return L"Access to %1 was denied.";
    case CFileError::invalidFile: return L"An invalid file handle was associated with %1.";
    case CFileError::removeCurrentDir: return L"%1 could not be removed because it is the current directory.";
    case CFileError::directoryFull: return L"%1 could not be created because the directory is full.";
    case CFileError::badSeek: return L"Seek failed on %1";
    case CFileError::hardIO: return L"A hardware I/O error was reported while accessing %1.";
    case CFileError::sharingViolation: return L"A sharing violation occurred while accessing %1.";
    case CFileError::lockViolation: return L"A locking violation occurred while accessing %1.";
    case CFileError::diskFull: return L"Disk full while accessing %1.";
    case CFileError::endOfFile: return L"An attempt was made to access %1 past its end.";
    case CFileError::lineTooLong: return L"%1 could not be read: a line is longer than any command holds.";
    case CFileError::notText: return L"%1 could not be read: it holds bytes that are not text in its encoding.";
    case CFileError::generic: break;
    }
    return L"An unknown error occurred while accessing %1.";
}

std::wstring CFileError::GetMessageText() const
{
    std::wstring text = FileErrorTemplate(m_cause);
    const size_t at = text.find(L"%1");
    if (at != std::wstring::npos)
        text.replace(at, 2, m_path);
    return text;
}

void CFileError::Report() const
{
    AppMessageBox(GetMessageText(), MB_OK | MB_ICONSTOP);
}

CFileError::Cause CFileError::CauseFromWin32(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND: return fileNotFound;
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_FILENAME_EXCED_RANGE: return badPath;
    case ERROR_TOO_MANY_OPEN_FILES: return tooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return accessDenied;
    case ERROR_INVALID_HANDLE: return invalidFile;
    case ERROR_CURRENT_DIRECTORY: return removeCurrentDir;
    case ERROR_CANNOT_MAKE: return directoryFull;
    case ERROR_SEEK:
    case ERROR_NEGATIVE_SEEK: return badSeek;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT: return hardIO;
    case ERROR_SHARING_VIOLATION: return sharingViolation;
    case ERROR_LOCK_VIOLATION: return lockViolation;
    case ERROR_HANDLE_DISK_FULL:
    case ERROR_DISK_FULL: return diskFull;
    case ERROR_HANDLE_EOF: return endOfFile;
    default: return generic;
    }
}
