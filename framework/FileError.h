#pragma once
// The file errors that the framework raises and the message loop reports:
// a file that cannot be opened aborts the handler that tried to open it.
#include <windows.h>

#include <string>

class CFileError {
public:
    enum Cause {
        generic,
        fileNotFound,
        badPath,
        tooManyOpenFiles,
        accessDenied,
        invalidFile,
        removeCurrentDir,
        directoryFull,
        badSeek,
        hardIO,
        sharingViolation,
        lockViolation,
        diskFull,
        endOfFile,
        lineTooLong,
        notText,
    };

    CFileError(Cause cause, std::wstring path) : m_cause(cause), m_path(std::move(path)) {}

    Cause GetCause() const { return m_cause; }
    const std::wstring& GetPath() const { return m_path; }

    // The user's text for the cause, with the file's path in place of %1.
    std::wstring GetMessageText() const;
    // Shows the text in an application box with the stop icon.
    void Report() const;

    static Cause CauseFromWin32(DWORD error);

private:
    Cause m_cause;
    std::wstring m_path;
};

// The framework's text for a cause, %1 standing for the file.
const wchar_t* FileErrorTemplate(CFileError::Cause cause);
