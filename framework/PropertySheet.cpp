#include "framework/PropertySheet.h"

#include "framework/AppInfo.h"
#include "framework/ExceptionReport.h"
#include "framework/ModalLoop.h"
#include "framework/Services.h"

namespace {

// The sheet being created: its callback carries no data of its own.
thread_local CPropertySheet* t_creating = nullptr;

const wchar_t kSheetProperty[] = L"VerbosaPropertySheet";

} // namespace

CPropertyPage::CPropertyPage(UINT templateId) : CDialog(templateId, nullptr) {}

void CPropertyPage::SetModified(bool changed)
{
    if (!m_hWnd)
        return;
    HWND sheet = ::GetParent(m_hWnd);
    SendMessageW(sheet, changed ? PSM_CHANGED : PSM_UNCHANGED, reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnApply()
{
    UpdateData(true);
    return TRUE;
}

PROPSHEETPAGEW CPropertyPage::Describe()
{
    PROPSHEETPAGEW page = {};
    page.dwSize = sizeof page;
    page.dwFlags = PSP_DEFAULT | PSP_HASHELP;
    page.hInstance = GetModuleHandleW(nullptr);
    page.pszTemplate = MAKEINTRESOURCEW(GetTemplateId());
    page.pfnDlgProc = PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    return page;
}

INT_PTR CALLBACK CPropertyPage::PageProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CPropertyPage*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) {
        if (msg != WM_INITDIALOG)
            return FALSE;
        self = reinterpret_cast<CPropertyPage*>(reinterpret_cast<const PROPSHEETPAGEW*>(lParam)->lParam);
        self->Attach(hwnd);
    }
    if (msg == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->code == PSN_APPLY) {
        BOOL ok = FALSE; // a page that failed to apply keeps the sheet open
        try {
            ok = self->OnApply();
        } catch (...) {
            ReportCurrentException();
        }
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, ok ? PSNRET_NOERROR : PSNRET_INVALID);
        return TRUE;
    }
    const INT_PTR handled = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        self->Detach();
    return handled;
}

CPropertySheet::CPropertySheet(const std::wstring& caption, HWND parent) : m_caption(caption), m_parent(parent) {}

CPropertySheet::~CPropertySheet()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CPropertySheet::IsClosed() const
{
    return !m_hWnd || SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

bool CPropertySheet::OnCommand(UINT, UINT, HWND)
{
    return false;
}

int CALLBACK CPropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM)
{
    if (msg == PSCB_INITIALIZED && t_creating) {
        CPropertySheet* self = t_creating;
        self->m_hWnd = hwnd;
        SetPropW(hwnd, kSheetProperty, self);
        self->m_systemProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
    }
    return 0;
}

LRESULT CALLBACK CPropertySheet::SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CPropertySheet*>(GetPropW(hwnd, kSheetProperty));
    if (!self)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    const WNDPROC systemProc = self->m_systemProc;
    if (msg == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED)
            self->m_result = IDOK;
        try {
            if (self->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)))
                return 0;
        } catch (...) {
            ReportCurrentException();
            return 0; // the command stopped here: the sheet neither applies nor closes
        }
    } else if (msg == WM_NCDESTROY) {
        RemovePropW(hwnd, kSheetProperty);
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc));
        self->m_hWnd = nullptr;
    }
    return CallWindowProcW(systemProc, hwnd, msg, wParam, lParam);
}

INT_PTR CPropertySheet::DoModal()
{
    HWND owner = m_parent ? m_parent : GetAppMainWindow();
    if (owner && !IsWindow(owner))
        owner = nullptr;

    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage* page : m_pages)
        pages.push_back(page->Describe());
    PROPSHEETHEADERW header = {};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_MODELESS | PSH_USECALLBACK | PSH_HASHELP;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleW(nullptr);
    header.pszCaption = m_caption.c_str();
    header.nPages = static_cast<UINT>(pages.size());
    header.nStartPage = 0;
    header.ppsp = pages.data();
    header.pfnCallback = SheetCallback;

    m_result = IDCANCEL;
    t_creating = this;
    const INT_PTR created = PropertySheetW(&header);
    t_creating = nullptr;
    if (created == 0 || created == -1 || !m_hWnd)
        return -1;
    // Once the sheet has set up its first page, which also sets its buttons.
    OnInitDialog();

    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    if (const auto runModal = Services().modalSheet) {
        runModal(*this);
    } else {
        RunModalLoop([this] { return IsClosed(); }, [this](MSG* msg) {
            return static_cast<BOOL>(SendMessageW(m_hWnd, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(msg)));
        });
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (m_hWnd && owner && GetActiveWindow() == m_hWnd)
        SetActiveWindow(owner);
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
    return m_result;
}
