#include "transfer/TransferCommands.h"

#include "framework/CodePage.h"
#include "framework/FileDialog.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"
#include "transfer/Export.h"
#include "transfer/Import.h"
#include "transfer/ImportPreviewDlg.h"
#include "transfer/TransferCommandLine.h"

#include <string>
#include <vector>

namespace {

// The report's lines (UTF-8, as the console and the log take them) for a box.
std::wstring Lines(const std::vector<std::string>& report)
{
    std::wstring text;
    for (const std::string& line : report)
        text += (text.empty() ? L"" : L"\n") + ShownUtf8(line);
    return text;
}

UINT IconFor(int exitCode)
{
    switch (exitCode) {
    case kTransferDone: return MB_ICONINFORMATION;
    case kTransferPartial: return MB_ICONWARNING;
    default: return MB_ICONSTOP;
    }
}

} // namespace

void CTransferCommands::OnFileExport() const
{
    const std::wstring file = ChooseFileToSave(
        {m_host.OwnerWindow(), TXT_EXPORT_TITLE, TXT_TRANSFER_FILTER, TXT_EXPORT_DEFAULT_NAME, L"json"});
    if (file.empty())
        return;
    std::vector<std::string> report;
    const int code = ExportTo(file, report);
    AppMessageBox(Lines(report), MB_OK | IconFor(code));
}

void CTransferCommands::OnFileImport() const
{
    const std::wstring file =
        ChooseFileToOpen({m_host.OwnerWindow(), TXT_IMPORT_TITLE, TXT_TRANSFER_FILTER, std::wstring(), L"json"});
    if (file.empty())
        return;
    TransferRead read = ReadImportFile(file);
    if (!read.error.empty()) {
        AppMessageBox(TXT_IMPORT_UNREADABLE_BEFORE + ShownUtf8(read.error) + TXT_IMPORT_UNREADABLE_AFTER,
                      MB_OK | MB_ICONSTOP);
        return;
    }
    CImportPreviewDlg preview(m_host.OwnerWindow(), std::move(read), CurrentImportState());
    if (preview.DoModal() != IDOK)
        return;
    std::vector<std::string> report;
    const ImportOutcome outcome = ApplyImport(preview.Plan(), report);
    m_host.ReloadStores();
    // What the user saw in the preview needs no repeating: only the result
    // and whatever was not written.
    std::vector<std::string> said{std::to_string(outcome.done) + " imported, " + std::to_string(outcome.skipped) +
                                  " skipped, " + std::to_string(outcome.failures.size()) + " could not be written."};
    said.insert(said.end(), outcome.failures.begin(), outcome.failures.end());
    AppMessageBox(Lines(said), MB_OK | IconFor(ImportExitCode(outcome)));
}
