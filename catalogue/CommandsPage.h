#pragma once
// The main window's My Commands page: its list, rebuilt whole from the
// command files of both scopes, and the new, edit, delete and properties
// handlers. It is the command editor's host.
#include "apppaths/AppPathsScope.h"
#include "catalogue/NewCommandDlg.h"
#include "framework/ListPage.h"
#include "framework/PageHost.h"
#include "services/RowIconImages.h"

#include <memory>
#include <string>
#include <vector>

class CCommandsPage : public CListPage, public ICommandEditorHost {
public:
    explicit CCommandsPage(IPageHost& host);

    // Columns at the list's set-up width.
    void SetUp();
    // Column widths for the width the frame gives all lists.
    void FitColumns(int clientWidth) const;
    // The frame's scale changed: images at the new size, rows anew.
    void OnScaleChanged();
    void CleanUp();

    void FillCommandList() override;
    void SetStatusTip(const std::wstring& text) override { m_host.SetStatusTip(text); }
    void AddCommandRow(const std::wstring& cfgPath, CommandScope scope = CommandScope::machine);
    // The tip of a row: which file wins over its name, if any.
    std::wstring RowTip(int row) const;

    // Routed by the frame.
    void OnNewCommand();
    void OnEditCommand();
    void OnDeleteCommand();
    void OnCommandProperties();
    void OnRClick(NMHDR* header, LRESULT* result);
    void OnDblClk(NMHDR* header, LRESULT* result);
    void OnHotTrack(NMHDR* header, LRESULT* result);
    void OnGetInfoTip(NMHDR* header, LRESULT* result);
    // A row's icon, asked for when the list first draws the row.
    void OnGetDispInfo(NMHDR* header, LRESULT* result);

private:
    // The selected row's command name and scope, when the name is one that
    // paths and keys may be built from; a row whose file names no valid
    // command is refused with a message naming the file. False: no
    // selection or refused.
    bool SelectedCommand(std::wstring& name, CommandScope& scope) const;

    // Properties file, scope and target of each row; a row's item data is
    // its index here.
    struct CommandRow {
        std::wstring file;
        CommandScope scope;
        std::wstring target;
    };
    std::vector<CommandRow> m_rows;
    // Icons are extracted when the list first draws a row, not for every
    // command of a fill: a fill costs no more than reading the files, and
    // the rows below the window's edge cost nothing until they are seen.
    std::unique_ptr<CRowIconImages> m_icons;
};
