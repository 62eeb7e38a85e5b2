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
#include "services/TargetIcon.h"

#include <vector>

namespace {

std::string IconKey(const IconChoice& choice)
{
    return choice.file + '\n' + std::to_string(choice.index) + '\n' + choice.fallbackFile + '\n'
           + std::to_string(choice.fallbackIndex);
}

} // namespace

void CCommandsPage::FillCommandList()
{
    m_list.DeleteAllItems();
    // Each fill starts afresh, images included, so memory stays flat.
    m_images.RemoveAll();
    m_iconImages.clear();
    m_targetImages.clear();
    m_typeIconAnswers.clear();
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

    const int row = m_list.InsertItem(m_list.GetItemCount(), name, CommandImage(target));
    m_list.SetItemText(row, 1, target);
    m_list.SetItemText(row, 2, parameters);
    m_list.SetItemText(row, 3, ScopeText(scope));
    m_list.SetItemData(row, static_cast<LPARAM>(m_rows.size()));
    m_rows.push_back({cfgPath, scope});
}

int CCommandsPage::CommandImage(const std::wstring& target)
{
    const auto known = m_targetImages.find(target);
    if (known != m_targetImages.end())
        return known->second;

    IconQueries queries = SystemIconQueries();
    queries.typeIcon = [this](const std::string& extension, std::string& file, int& index) {
        auto answer = m_typeIconAnswers.find(extension);
        if (answer == m_typeIconAnswers.end()) {
            TypeIconAnswer fresh{false, {}, 0};
            fresh.found = SystemIconQueries().typeIcon(extension, fresh.file, fresh.index);
            answer = m_typeIconAnswers.emplace(extension, fresh).first;
        }
        file = answer->second.file;
        index = answer->second.index;
        return answer->second.found;
    };
    const IconChoice choice = ChooseTargetIcon(target, queries);
    const std::string key = IconKey(choice);
    auto cached = m_iconImages.find(key);
    if (cached == m_iconImages.end()) {
        CIconHandle icon(ExtractChosenIcon(choice, m_images.GetIconSize()));
        cached = m_iconImages.emplace(key, m_images.Add(icon.Get())).first;
    }
    m_targetImages.emplace(target, cached->second);
    return cached->second;
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
