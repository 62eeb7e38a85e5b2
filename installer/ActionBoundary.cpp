#include "installer/ActionBoundary.h"

#include "framework/CodePage.h"

#include <exception>
#include <new>
#include <string>

void LogLine(MSIHANDLE install, const wchar_t* text) noexcept
{
    PMSIHANDLE record = MsiCreateRecord(0);
    if (!record)
        return;
    MsiRecordSetStringW(record, 0, text);
    MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
}

namespace {

// The exception in flight in words; a library's own text where it has one.
std::wstring Reason()
{
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return L"not enough memory";
    } catch (const std::exception& error) {
        std::u16string text;
        if (AnsiToUtf16(error.what(), text) && !text.empty())
            return std::wstring(text.begin(), text.end());
        return L"an unexpected error";
    } catch (...) {
        return L"an unexpected error";
    }
}

} // namespace

void LogCurrentException(MSIHANDLE install, const wchar_t* action, OnException policy) noexcept
{
    try {
        std::wstring line = L"Verbosa: ";
        line += action;
        line += L" stopped: ";
        line += Reason();
        line += policy == OnException::failInstall ? L"; the installation fails" : L"; the rest goes on";
        LogLine(install, line.c_str());
    } catch (...) {
        // No memory for the line: the action's name at least.
        LogLine(install, action);
    }
}
