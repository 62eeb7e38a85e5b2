#include "framework/Dialog.h"

#include "framework/AppInfo.h"
#include "framework/ExceptionReport.h"
#include "framework/ModalLoop.h"
#include "framework/Services.h"

#include <cstring>
#include <utility>
#include <vector>

namespace {

// Dialog procedures return these messages' results themselves instead of
// through DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT msg)
{
    switch (msg) {
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

// Offset of the style in a DLGTEMPLATE or a DLGTEMPLATEEX.
size_t StyleOffset(const std::vector<BYTE>& dlg)
{
    WORD version = 0, signature = 0;
    if (dlg.size() >= 4) {
        std::memcpy(&version, dlg.data(), 2);
        std::memcpy(&signature, dlg.data() + 2, 2);
    }
    return (version == 1 && signature == 0xFFFF) ? 12 : 0;
}

} // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_parent(parent) {}

CDialog::~CDialog()
{
    DestroyWindow();
}

const CRouteTable* CDialog::StaticRoutes()
{
    static const CRouteTable table{nullptr, nullptr, 0};
    return &table;
}

const CRouteTable* CDialog::GetRoutes() const
{
    return StaticRoutes();
}

HWND CDialog::CreateFromTemplate(HWND owner, bool hidden)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(m_templateId), MAKEINTRESOURCEW(5));
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    if (!bytes || size < sizeof(DLGTEMPLATE))
        return nullptr;
    // A modal dialog appears only once initialisation is over, as the
    // system's dialog boxes do, so one closed during set-up never flashes.
    std::vector<BYTE> copy(static_cast<const BYTE*>(bytes), static_cast<const BYTE*>(bytes) + size);
    const size_t at = StyleOffset(copy);
    DWORD style = 0;
    std::memcpy(&style, copy.data() + at, sizeof(style));
    // cx and cy follow the style, the extended style, the item count, x and y.
    const size_t sizeAt = at + 10;
    if (copy.size() >= sizeAt + 4) {
        std::memcpy(&m_templateSize[0], copy.data() + sizeAt, 2);
        std::memcpy(&m_templateSize[1], copy.data() + sizeAt + 2, 2);
    }
    if (hidden) {
        style &= ~WS_VISIBLE;
        std::memcpy(copy.data() + at, &style, sizeof(style));
    }
    return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(copy.data()), owner,
                                      DialogProc, reinterpret_cast<LPARAM>(this));
}

SIZE CDialog::TemplateClientSize() const
{
    RECT r{0, 0, m_templateSize[0], m_templateSize[1]};
    if (!m_hWnd || !MapDialogRect(m_hWnd, &r))
        return SIZE{0, 0};
    return SIZE{r.right, r.bottom};
}

INT_PTR CDialog::DoModal()
{
    HWND owner = m_parent ? m_parent : GetAppMainWindow();
    if (owner && !IsWindow(owner))
        owner = nullptr;
    m_modal = true;
    m_ended = false;
    m_result = -1;
    if (!CreateFromTemplate(owner, true)) {
        m_modal = false;
        return -1;
    }
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);

    // A copy: the stand-in may run nested dialogs that change the services.
    if (const auto runModal = Services().modalDialog) {
        // It gets the window initialised but not shown: tests need no
        // screen, and Wine without a window manager is slow to hide windows.
        runModal(*this);
        if (!m_ended)
            EndDialog(IDCANCEL);
    } else {
        if (!m_ended && m_hWnd)
            ShowWindow(m_hWnd, SW_SHOWNORMAL);
        RunModalLoop([this] { return m_ended || !m_hWnd; }, [this](MSG* msg) { return PreTranslateMessage(msg); });
    }

    // The owner gets its activation back before this window goes.
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    if (m_hWnd && owner && GetActiveWindow() == m_hWnd)
        SetActiveWindow(owner);
    DestroyWindow();
    m_modal = false;
    return m_result;
}

bool CDialog::Create(HWND parent, bool hidden)
{
    m_modal = false;
    m_ended = false;
    return CreateFromTemplate(parent, hidden) != nullptr;
}

void CDialog::DestroyWindow()
{
    if (m_hWnd)
        ::DestroyWindow(m_hWnd); // WM_NCDESTROY detaches
}

void CDialog::EndDialog(int result)
{
    m_result = result;
    m_ended = true;
    if (m_modal && m_hWnd)
        PostMessageW(m_hWnd, WM_NULL, 0, 0); // wake the modal loop
}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::DoDataExchange(bool) {}

bool CDialog::UpdateData(bool save)
{
    DoDataExchange(save);
    return true;
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    if (IsHelpKeyMessage(msg) && OnHelpKey())
        return TRUE;
    return m_hWnd && IsDialogMessageW(m_hWnd, msg);
}

void CDialog::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(this));
    if (m_isMainWindow)
        SetAppMainWindow(hwnd);
}

void CDialog::Detach()
{
    if (m_hWnd)
        SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);
    if (m_isMainWindow && GetAppMainWindow() == m_hWnd)
        SetAppMainWindow(nullptr);
    m_hWnd = nullptr;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<CDialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self) {
        if (msg != WM_INITDIALOG)
            return FALSE; // WM_SETFONT and the like before initialisation
        self = reinterpret_cast<CDialog*>(lParam);
        self->Attach(hwnd);
    }
    const INT_PTR handled = self->Dispatch(msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        self->Detach();
    return handled;
}

bool CDialog::Route(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result, BOOL& handled)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    const NMHDR* header = msg == WM_NOTIFY ? reinterpret_cast<const NMHDR*>(lParam) : nullptr;
    // A menu item (code 0) or an accelerator (code 1, no control); a button
    // click is code 0 from a control. Code 1 from a control is a selection change.
    const bool isCommand = msg == WM_COMMAND && (code == 0 || (code == 1 && lParam == 0));

    for (const CRouteTable* table = GetRoutes(); table; table = table->base) {
        for (size_t i = 0; i < table->count; ++i) {
            const RouteEntry& e = table->entries[i];
            bool match = false;
            switch (e.kind) {
            case RouteKind::command:
            case RouteKind::commandRange:
                match = isCommand && id >= e.firstId && id <= e.lastId;
                break;
            case RouteKind::control:
                match = msg == WM_COMMAND && lParam != 0 && code == e.code && id == e.firstId;
                break;
            case RouteKind::notify:
                match = header && header->code == e.code && header->idFrom == e.firstId;
                break;
            case RouteKind::message:
                match = msg == e.code;
                break;
            }
            if (match) {
                handled = e.call(this, wParam, lParam, result);
                return true;
            }
        }
    }
    return false;
}

INT_PTR CDialog::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    BOOL handled = FALSE;
    try {
        if (msg == WM_INITDIALOG) {
            // Dialog procedures never see WM_CREATE; a routed create handler
            // runs here, before initialisation, as window creation would run it.
            LRESULT ignored = 0;
            BOOL createHandled = FALSE;
            Route(WM_CREATE, 0, 0, ignored, createHandled);
            return OnInitDialog();
        }
        if (!Route(msg, wParam, lParam, result, handled) && msg == WM_COMMAND
            && (HIWORD(wParam) == 0 || HIWORD(wParam) == 1)) {
            // Unrouted: the dialog meaning of Enter and Esc.
            if (LOWORD(wParam) == IDOK) {
                OnOK();
                handled = TRUE;
            } else if (LOWORD(wParam) == IDCANCEL) {
                OnCancel();
                handled = TRUE;
            }
        }
    } catch (...) {
        // Tell the user, skip the rest of the handler, keep the window.
        ReportCurrentException();
        return TRUE;
    }
    if (!handled)
        return FALSE;
    if (ReturnsResultDirectly(msg))
        return static_cast<INT_PTR>(result);
    if (m_hWnd)
        SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, result);
    return TRUE;
}
