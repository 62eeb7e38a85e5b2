// Filling My Commands from the command files.
#include "catalogue/CommandsPage.h"

#include "catalogue/CommandFiles.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/FileProblemsDlg.h"
#include "catalogue/Shadowing.h"
#include "framework/FileError.h"
#include "framework/Handles.h"
#include "resources/Texts.h"

#include <vector>

void CCommandsPage::FillCommandList()
{
    m_list.DeleteAllItems();
    // Each fill starts afresh, images included, so memory stays flat.
    m_icons.reset();
    m_images.RemoveAll();
    m_icons = std::make_unique<CRowIconImages>(m_images);
    m_rows.clear();
    CRedrawPause pause(m_list);

    std::vector<std::wstring> problems;
    ForEachCommandFile([this, &problems](const std::wstring& path, CommandScope scope) {
        // A file that cannot be opened is noted and the fill goes on: one
        // locked file must not hide every command after it.
        try {
            AddCommandRow(path, scope);
        } catch (const CFileError& error) {
            problems.push_back(error.GetMessageText());
        }
    });
    ReportUnreadableCommandFiles(problems, m_host.OwnerWindow());
}

void CCommandsPage::AddCommandRow(const std::wstring& cfgPath, CommandScope scope)
{
    std::vector<std::wstring> lines;
    if (ReadPropertiesLines(cfgPath, 3, lines) < 3)
        return;
    const std::wstring& name = lines[0];
    const std::wstring& target = lines[1];
    const std::wstring& parameters = lines[2];

    const int row = m_list.InsertItem(m_list.GetItemCount(), name, I_IMAGECALLBACK,
                                      static_cast<LPARAM>(m_rows.size()));
    m_list.SetItemText(row, 1, target);
    m_list.SetItemText(row, 2, parameters);
    m_list.SetItemText(row, 3, ScopeText(scope));
    m_rows.push_back({cfgPath, scope, target});
}

void CCommandsPage::OnGetDispInfo(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* info = reinterpret_cast<NMLVDISPINFOW*>(header);
    if ((info->item.mask & LVIF_IMAGE) == 0)
        return;
    const std::optional<size_t> row = m_list.GetItemIndex(info->item.iItem, m_rows.size());
    info->item.iImage = m_icons && row ? m_icons->ImageFor(m_rows[*row].target) : -1;
    info->item.mask |= LVIF_DI_SETITEM; // asked once per row
}

std::wstring CCommandsPage::RowTip(int row) const
{
    // Looked up when the tip is asked for: a search of every PATH folder
    // for every row would slow each fill.
    const std::wstring winner = FindShadowingFile(m_list.GetItemText(row, 0));
    return winner.empty() ? std::wstring() : TXT_SHADOWED_ROW_BEFORE + winner + TXT_SHADOWED_ROW_AFTER;
}

void CCommandsPage::OnGetInfoTip(NMHDR* header, LRESULT* result)
{
    *result = 0;
    auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
    const std::wstring text = RowTip(tip->iItem);
    if (!text.empty() && tip->pszText && tip->cchTextMax > 0)
        lstrcpynW(tip->pszText, text.c_str(), tip->cchTextMax);
}
