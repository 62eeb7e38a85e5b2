#pragma once
// No C++ exception may leave a custom action: it would unwind into the
// installer's own code. Every export of VerbosaSetup.dll runs its step
// through RunAction, which logs the exception and decides what it means.
#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <utility>

// A step the installation needs fails it on an exception; a clean-up step
// never does (an uninstall that stops half-way leaves more behind), so its
// exception is only logged.
enum class OnException { failInstall, logAndGoOn };

// One line in the install log.
void LogLine(MSIHANDLE install, const wchar_t* text) noexcept;

// Call only inside a catch block: logs what the exception in flight was and
// what follows from it.
void LogCurrentException(MSIHANDLE install, const wchar_t* action, OnException policy) noexcept;

template <typename Step>
UINT RunAction(MSIHANDLE install, const wchar_t* action, OnException policy, Step&& step) noexcept
{
    try {
        return std::forward<Step>(step)(install);
    } catch (...) {
        LogCurrentException(install, action, policy);
        return policy == OnException::failInstall ? ERROR_INSTALL_FAILURE : ERROR_SUCCESS;
    }
}
