// Filling My Commands from the command files.
#include "app/FileProblemsDlg.h"
#include "app/MainDlg.h"
#include "services/TargetIcon.h"

#include "catalogue/CommandFiles.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/CommandScopeRules.h"
#include "catalogue/Shadowing.h"
#include "resources/Texts.h"
#include "framework/CodePage.h"
#include "framework/FileError.h"

#include <vector>

namespace {

std::string IconKey(const IconChoice& choice)
{
    return choice.file + '\n' + std::to_string(choice.index) + '\n' + choice.fallbackFile + '\n'
           + std::to_string(choice.fallbackIndex);
}

} // namespace

void CMainDlg::FillCommandList()
{
    m_commandList.DeleteAllItems();
    // Each fill starts afresh, images included, so memory stays flat.
    m_commandImages.RemoveAll();
    m_commandIconImages.clear();
    m_targetImages.clear();
    m_typeIconAnswers.clear();
    m_commandRows.clear();
    CRedrawPause pause(m_commandList);

    std::vector<std::string> problems;
    ForEachCommandFile([this, &problems](const std::string& path, CommandScope scope) {
        // A file that cannot be opened is noted and the fill goes on: one
        // locked file must not hide every command after it.
        try {
            AddCommandRow(path, scope);
        } catch (const CFileError& error) {
            problems.push_back(error.GetMessageText());
        }
    });
    ReportUnreadableCommandFiles(problems, m_hWnd);
}

void CMainDlg::AddCommandRow(const std::string& cfgPath, CommandScope scope)
{
    std::vector<std::string> lines;
    if (ReadPropertiesLines(cfgPath, 3, lines) < 3)
        return;
    const std::string& name = lines[0];
    const std::string& target = lines[1];
    const std::string& parameters = lines[2];

    const int row = m_commandList.InsertItem(m_commandList.GetItemCount(), name, CommandImage(target));
    m_commandList.SetItemText(row, 1, target);
    m_commandList.SetItemText(row, 2, parameters);
    m_commandList.SetItemText(row, 3, ScopeText(scope));
    m_commandList.SetItemData(row, static_cast<LPARAM>(m_commandRows.size()));
    m_commandRows.push_back({cfgPath, scope});
}

int CMainDlg::CommandImage(const std::string& target)
{
    const auto known = m_targetImages.find(target);
    if (known != m_targetImages.end())
        return known->second;

    IconQueries queries;
    queries.isExistingFolder = IsExistingFolder;
    queries.typeIcon = [this](const std::string& extension, std::string& file, int& index) {
        auto answer = m_typeIconAnswers.find(extension);
        if (answer == m_typeIconAnswers.end()) {
            TypeIconAnswer fresh{false, {}, 0};
            fresh.found = GetTypeIcon(extension, fresh.file, fresh.index);
            answer = m_typeIconAnswers.emplace(extension, fresh).first;
        }
        file = answer->second.file;
        index = answer->second.index;
        return answer->second.found;
    };
    const IconChoice choice = ChooseTargetIcon(target, queries);
    const std::string key = IconKey(choice);
    auto cached = m_commandIconImages.find(key);
    if (cached == m_commandIconImages.end()) {
        CIconHandle icon(ExtractChosenIcon(choice, m_commandImages.GetIconSize()));
        cached = m_commandIconImages.emplace(key, m_commandImages.Add(icon.Get())).first;
    }
    m_targetImages.emplace(target, cached->second);
    return cached->second;
}

std::string CMainDlg::CommandRowTip(int row)
{
    // Looked up when the tip is asked for: a search of every PATH folder
    // for every row would slow each fill.
    const std::string winner = FindShadowingFile(m_commandList.GetItemText(row, 0));
    return winner.empty() ? std::string() : TXT_SHADOWED_ROW_BEFORE + winner + TXT_SHADOWED_ROW_AFTER;
}

void CMainDlg::OnCommandListGetInfoTip(NMHDR* header, LRESULT* result)
{
    *result = 0;
    if (header->code == LVN_GETINFOTIPW) {
        auto* tip = reinterpret_cast<NMLVGETINFOTIPW*>(header);
        const std::string text = CommandRowTip(tip->iItem);
        if (!text.empty() && tip->pszText && tip->cchTextMax > 0)
            lstrcpynW(tip->pszText, AnsiToWide(text).c_str(), tip->cchTextMax);
        return;
    }
    auto* tip = reinterpret_cast<NMLVGETINFOTIPA*>(header);
    const std::string text = CommandRowTip(tip->iItem);
    if (!text.empty() && tip->pszText && tip->cchTextMax > 0)
        lstrcpynA(tip->pszText, text.c_str(), tip->cchTextMax);
}
