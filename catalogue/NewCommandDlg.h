#pragma once
// The New/Edit Command dialog: name, target, parameters and window mode of
// one command, checked and handed to the catalogue. New and Edit are opened
// from the main window; path mode at start-up, for a path given to the
// program, with the main window hidden.
#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <commdlg.h>

#include <functional>
#include <string>

class CMainDlg;

class CNewCommandDlg : public CDialog {
public:
    // New.
    CNewCommandDlg(HWND parent, CMainDlg* owner);
    // Edit the command of that name.
    CNewCommandDlg(HWND parent, CMainDlg* owner, const std::string& oldName);
    // Path mode, starting with that target.
    CNewCommandDlg(HWND parent, const std::string& initialPath, CMainDlg* owner);

    void DoDataExchange(bool save) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    void OnOK() override;

    bool IsEditMode() const { return m_editMode; }
    bool IsPathMode() const { return m_pathMode; }

    // Test seam standing in for GetOpenFileNameA.
    using OpenFileHook = std::function<BOOL(OPENFILENAMEA& request)>;
    static void SetOpenFileHook(OpenFileHook hook);

    DECLARE_ROUTES()

    BOOL OnShowWindow(WPARAM, LPARAM, LRESULT& result);
    BOOL OnMenuSelect(WPARAM, LPARAM, LRESULT& result);
    void OnBrowse();
    void OnBrowseFile();
    void OnBrowseFolder();
    void OnBrowseUrl();
    void OnNameFocus();
    void OnTargetFocus();
    void OnParametersFocus();
    void OnModeFocus();
    void OnHelp();

    void LoadCommandProperties(const std::string& name);
    std::string BrowseForCommandFolder(const std::string& current);
    void ShowFieldTip(const char* tip);
    std::string FieldText(int id) const;

    CMainDlg* m_owner;
    CComboBox m_mode;
    bool m_editMode = false;
    std::string m_oldName;
    std::string m_initialPath;
    bool m_pathMode = false;
};

// ---- The editor's rules, platform-free ----

// Drops trailing backslashes, but keeps a three-character target (C:\).
std::string TrimTargetBackslashes(std::string target);
// The string id of the first failing check (empty name, illegal name,
// empty target), or 0 when the input passes.
UINT FirstInputProblem(const std::string& name, const std::string& target);
// Why the input cannot be stored faithfully (a target longer than a
// shortcut holds, a line break that would split the properties file), or
// an empty text when it can.
std::string UnstorableInputText(const std::string& target, const std::string& parameters);
// "a|b|c|d||" -> "a\0b\0c\0d\0\0": the Open dialog's filter pairs.
std::string FilterFromResource(const std::string& text);
// The Browse menu's status tip for an item; empty for anything else.
const char* BrowseMenuTip(UINT item);
