#include "transfer/TransferRun.h"

#include "framework/Handles.h"
#include "framework/TextFile.h"
#include "transfer/Export.h"
#include "transfer/Import.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// The console of the process that started this one; nothing when there is none.
void WriteToParentConsole(const std::string& text)
{
    if (!AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    {
        CFileHandle console(CreateFileA("CONOUT$", GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
        DWORD written = 0;
        if (console)
            WriteFile(console.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    }
    FreeConsole();
}

} // namespace

int RunTransfer(const TransferParse& parse)
{
    std::vector<std::string> report;
    int code = kTransferFailed;
    if (!parse.error.empty()) {
        report.push_back(parse.error + " Nothing was done.");
    } else if (parse.request->action == TransferRequest::Action::exportFile) {
        code = ExportTo(parse.request->file, report);
    } else {
        code = ImportFrom(*parse.request, report);
    }
    const std::string text = Joined(report);
    WriteToParentConsole(text);
    if (parse.request && !parse.request->logFile.empty()) {
        CTextWriter log;
        if (!(log.Open(parse.request->logFile) && log.Write(text) && log.Close()) && code == kTransferDone)
            code = kTransferPartial; // done, but not said where it was asked to be
    }
    return code;
}
