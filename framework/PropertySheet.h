#pragma once
// Property sheets of the system's common controls, with pages that are
// dialogs of our own (routing tables, data exchange). The sheet runs
// modally in our loop, so its commands can be seen before the system's
// handling.
#include "framework/Dialog.h"

#include <commctrl.h>
#include <prsht.h>

#include <string>
#include <vector>

class CPropertyPage : public CDialog {
public:
    explicit CPropertyPage(UINT templateId);

    // Enables the sheet's Apply button (the page-changed notification).
    void SetModified(bool changed = true);
    // The sheet applies the page (OK or Apply): the base reads the controls.
    virtual BOOL OnApply();

    PROPSHEETPAGEW Describe();

private:
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

class CPropertySheet {
public:
    // parent nullptr: owned by the application's main window.
    CPropertySheet(const std::wstring& caption, HWND parent);
    virtual ~CPropertySheet();
    CPropertySheet(const CPropertySheet&) = delete;
    CPropertySheet& operator=(const CPropertySheet&) = delete;

    void AddPage(CPropertyPage* page) { m_pages.push_back(page); }
    CPropertyPage* GetPage(size_t index) const { return m_pages[index]; }
    size_t GetPageCount() const { return m_pages.size(); }

    // Shows the sheet with its first page and returns IDOK or IDCANCEL.
    INT_PTR DoModal();
    HWND GetSafeHwnd() const { return m_hWnd; }
    // True once OK, Cancel or the close box has ended the sheet.
    bool IsClosed() const;

    // Runs once the sheet, its buttons and its first page exist.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Sees every command (menu, accelerator or control notification) before
    // the system's handling; true consumes it.
    virtual bool OnCommand(UINT id, UINT notifyCode, HWND control);

private:
    static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lParam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    std::wstring m_caption;
    HWND m_parent;
    HWND m_hWnd = nullptr;
    WNDPROC m_systemProc = nullptr;
    std::vector<CPropertyPage*> m_pages;
    INT_PTR m_result = IDCANCEL;
};
