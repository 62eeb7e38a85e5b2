#include "framework/ExceptionReport.h"

#include "framework/FileError.h"
#include "framework/MessageBox.h"

#include <new>

void ReportCurrentException() noexcept
{
    try {
        try {
            throw;
        } catch (const CFileError& error) {
            error.Report();
        } catch (const std::bad_alloc&) {
            AppMessageBox(kOutOfMemoryText, MB_OK | MB_ICONSTOP);
        } catch (...) {
            AppMessageBox(kUnexpectedErrorText, MB_OK | MB_ICONSTOP);
        }
    } catch (...) {
        // Even the report failed (no memory for its text): nothing more to do.
    }
}
