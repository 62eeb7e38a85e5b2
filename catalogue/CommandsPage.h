#pragma once
// The main window's My Commands page: its list, rebuilt whole from the
// command files of both scopes, and the new, edit, delete and properties
// handlers. It is the command editor's host.
#include "apppaths/AppPathsScope.h"
#include "catalogue/NewCommandDlg.h"
#include "framework/ListPage.h"
#include "framework/PageHost.h"

#include <map>
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

    void FillCommandList() override;
    void SetStatusTip(const std::wstring& text) override { m_host.SetStatusTip(text); }
    void AddCommandRow(const std::wstring& cfgPath, CommandScope scope = CommandScope::machine);
    // The image of a target's icon in the page's image list (-1: none).
    int CommandImage(const std::wstring& target);
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

private:
    // The selected row's command name and scope, when the name is one that
    // paths and keys may be built from; a row whose file names no valid
    // command is refused with a message naming the file. False: no
    // selection or refused.
    bool SelectedCommand(std::wstring& name, CommandScope& scope) const;

    // Within one fill, rows whose icon comes from the same file and index
    // share one image, and each target and each extension is looked up once.
    struct TypeIconAnswer {
        bool found;
        std::string file; // UTF-8, as the icon rule takes it
        int index;
    };
    std::map<std::string, int> m_iconImages; // by file and index
    std::map<std::wstring, int> m_targetImages; // by target
    std::map<std::string, TypeIconAnswer> m_typeIconAnswers;
    // Properties file and scope of each row; a row's item data is its index here.
    struct CommandRow {
        std::wstring file;
        CommandScope scope;
    };
    std::vector<CommandRow> m_rows;
};
