#pragma once
// The New/Edit Command dialog: name, target, parameters and window mode of
// one command, checked and handed to the catalogue. New and Edit are opened
// from the main window; path mode at start-up, for a path given to the
// program, with the main window hidden.
#include "catalogue/CommandInput.h"
#include "catalogue/CommandPaths.h"
#include "framework/Controls.h"
#include "framework/Dialog.h"
#include "framework/EditorHost.h"

#include <string>

// The dialog's owner: tips, and the My Commands list rebuilt after OK.
class ICommandEditorHost : public IEditorHost {
public:
    virtual void FillCommandList() = 0;

protected:
    ~ICommandEditorHost() = default;
};

class CNewCommandDlg : public CDialog {
public:
    // A new command.
    static CNewCommandDlg ForNew(ICommandEditorHost& host) { return CNewCommandDlg(host, Mode::create, {}); }
    // The command of that name in that scope.
    static CNewCommandDlg ForEdit(ICommandEditorHost& host, const std::wstring& name,
                                  CommandScope scope = CommandScope::machine)
    {
        return CNewCommandDlg(host, Mode::edit, name, scope);
    }
    // Path mode at start-up: a new command for that target, the host hidden.
    static CNewCommandDlg ForPath(ICommandEditorHost& host, const std::wstring& target)
    {
        return CNewCommandDlg(host, Mode::path, target);
    }

    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;
    bool OnHelpKey() override;
    void OnOK() override;

    bool IsEditMode() const { return m_mode == Mode::edit; }
    bool IsPathMode() const { return m_mode == Mode::path; }

    DECLARE_ROUTES()

    enum class Mode { create, edit, path };
    // text: the old name (edit) or the initial target (path).
    CNewCommandDlg(ICommandEditorHost& host, Mode mode, const std::wstring& text,
                   CommandScope oldScope = CommandScope::machine);

    void OnShowWindow(bool show, UINT status);
    void OnMenuSelect(const MenuSelection& selection);
    void OnBrowse();
    void OnBrowseFile();
    void OnBrowseFolder();
    void OnBrowseUrl();
    void OnNameFocus();
    void OnTargetFocus();
    void OnParametersFocus();
    void OnModeFocus();
    void OnScopeFocus();
    void OnHelp();

    void LoadCommandProperties(const std::wstring& name);
    // The scope box: the scope to start with, "All users" only where offered.
    void SetUpScope();
    CommandScope ChosenScope() const;
    // False when the user keeps a name from existing in both scopes.
    bool AcceptBothScopes(const std::wstring& name, CommandScope scope) const;
    // False when the user keeps a name that a file on the search path wins.
    bool AcceptShadowedName(const std::wstring& name) const;
    void ShowFieldTip(const wchar_t* tip);
    std::wstring FieldText(int id) const;

    ICommandEditorHost& m_host;
    Mode m_mode;
    std::wstring m_oldName;     // edit
    CommandScope m_oldScope = CommandScope::machine; // edit
    std::wstring m_initialPath; // path
    CComboBox m_windowMode;
    CComboBox m_scope;
};

// ---- The editor's rules (its input checks: CommandInput.h) ----

// The Browse menu's status tip for an item; empty for anything else.
const wchar_t* BrowseMenuTip(UINT item);
