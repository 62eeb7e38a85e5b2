#include "transfer/TransferRun.h"

#include "framework/FileError.h"
#include "framework/Handles.h"
#include "framework/TextFile.h"
#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/StoreText.h"

#include <windows.h>

#include <new>
#include <string>
#include <vector>

namespace {

// Said when the run stopped on an exception; the report's earlier lines
// still say what was done before it.
constexpr const char* kStoppedOutOfMemory =
    "Stopped: there is not enough memory. Only what the lines above report was done.";
constexpr const char* kStoppedUnexpected =
    "Stopped by an unexpected error. Only what the lines above report was done.";

// The line for the exception in flight; false when even that could not be
// added (no memory for it): the caller then says kStoppedOutOfMemory alone.
bool AddStopLine(std::vector<std::string>& report) noexcept
{
    try {
        try {
            throw;
        } catch (const CFileError& error) {
            report.push_back("Stopped: " + ShownAsUtf8(error.GetMessageText()));
        } catch (const std::bad_alloc&) {
            report.push_back(kStoppedOutOfMemory);
        } catch (...) {
            report.push_back(kStoppedUnexpected);
        }
        return true;
    } catch (...) {
        return false;
    }
}

// Writes each line and its break without joining them, so that a report
// can be written when memory is short.
template <typename Write>
bool WriteLines(const std::vector<std::string>& report, const char* last, Write write)
{
    bool ok = true;
    for (const std::string& line : report)
        ok = write(line.data(), line.size()) && write("\r\n", 2) && ok;
    if (last)
        ok = write(last, std::char_traits<char>::length(last)) && write("\r\n", 2) && ok;
    return ok;
}

// The console of the process that started this one, in UTF-16 whatever its
// code page; nothing when there is none.
void WriteToParentConsole(const std::vector<std::string>& report, const char* last)
{
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    {
        CFileHandle console(CreateFileW(L"CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        if (console)
            WriteLines(report, last, [&](const char* bytes, size_t size) {
                const std::wstring text = ShownUtf8(std::string_view(bytes, size));
                DWORD written = 0;
                return WriteConsoleW(console.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) !=
                       FALSE;
            });
    }
    FreeConsole();
}

bool WriteLog(const std::wstring& file, const std::vector<std::string>& report, const char* last)
{
    CTextWriter log;
    if (!log.Open(file))
        return false;
    const bool written = WriteLines(report, last, [&](const char* bytes, size_t size) {
        return log.Write(std::string_view(bytes, size));
    });
    return log.Close() && written;
}

int Run(const TransferParse& parse, std::vector<std::string>& report)
{
    if (!parse.error.empty()) {
        report.push_back(parse.error + " Nothing was done.");
        return kTransferFailed;
    }
    if (parse.request->action == TransferRequest::Action::exportFile)
        return ExportTo(StoreText(parse.request->file), report);
    return ImportFrom(*parse.request, report);
}

} // namespace

int RunTransfer(const TransferParse& parse) noexcept
{
    std::vector<std::string> report;
    int code = kTransferFailed;
    const char* last = nullptr;
    try {
        code = Run(parse, report);
    } catch (...) {
        // No window may open for a script: whatever stopped the run is said
        // where the report goes, and the run counts as failed.
        code = kTransferFailed;
        if (!AddStopLine(report))
            last = kStoppedOutOfMemory;
    }
    try {
        WriteToParentConsole(report, last);
        if (parse.request && !parse.request->logFile.empty() && !WriteLog(StoreText(parse.request->logFile), report, last) &&
            code == kTransferDone)
            code = kTransferPartial; // done, but not said where it was asked to be
    } catch (...) {
        if (code == kTransferDone)
            code = kTransferPartial;
    }
    return code;
}
