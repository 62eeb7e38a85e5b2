#include "app/AboutDlg.h"

#include "services/ShellOpen.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/WindowDpi.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"

namespace {

HFONT CreateTahoma(int height, int weight, bool underline)
{
    return CreateFontW(height, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       L"Tahoma");
}

// The line of the dialog font (Tahoma 8) at that DPI: 13 pixels at 96.
// The template's 8-unit texts are that tall at every scale, where 13
// scaled and rounded would cut their last pixel row.
int DialogFontLine(int dpi)
{
    CFontHandle probe(CreateTahoma(-MulDiv(8, dpi, 72), FW_NORMAL, false));
    HDC screen = GetDC(nullptr);
    TEXTMETRICW metrics{};
    const HGDIOBJ old = SelectObject(screen, probe.Get());
    const bool measured = GetTextMetricsW(screen, &metrics) != FALSE;
    SelectObject(screen, old);
    ReleaseDC(nullptr, screen);
    return measured && metrics.tmHeight > 0 ? metrics.tmHeight : MulDiv(13, dpi, 96);
}

HFONT MakeTahoma(int weight, bool underline, const CDpiScale& scale)
{
    return CreateTahoma(DialogFontLine(scale.Dpi()), weight, underline);
}

// The edges are pixels at 96 DPI, inclusive.
bool Within(POINT p, const CDpiScale& s, int left, int right, int top, int bottom)
{
    return p.x >= s(left) && p.x <= s(right) && p.y >= s(top) && p.y <= s(bottom);
}

// The picture a static control shows, replaced; the one it held before is
// the caller's to delete when it was the control's own.
HGDIOBJ SetStaticImage(HWND dialog, int id, UINT type, HANDLE image)
{
    return reinterpret_cast<HGDIOBJ>(
        SendDlgItemMessageW(dialog, id, STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
}

} // namespace

std::wstring SupportMailLink()
{
    return std::wstring(L"mailto:") + TXT_SUPPORT_MAIL + TXT_SUPPORT_SUBJECT;
}

std::wstring AboutMailLink()
{
    return std::wstring(L"mailto:") + TXT_SUPPORT_MAIL + TXT_ABOUT_MAIL_SUBJECT;
}

BEGIN_ROUTES(CAboutDlg, CDialog)
    ON_WM_LBUTTONDOWN(OnLButtonDown)
    ON_WM_MOUSEMOVE(OnMouseMove)
    ON_WM_CTLCOLORSTATIC(OnCtlColorStatic)
    ON_COMMAND(IDC_ABOUT_MAIL, OnLinkCommand)
    ON_COMMAND(IDC_ABOUT_WEB, OnLinkCommand)
    ON_MESSAGE(WM_DPICHANGED, OnDpiChanged)
END_ROUTES()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT, nullptr) {}

void CAboutDlg::DoDataExchange(bool)
{
    if (m_boldFont)
        return;
    m_scale = ScaleOfWindow(m_hWnd);
    MakeFonts();
    SetPictures();
}

void CAboutDlg::MakeFonts()
{
    // The controls take the new fonts before the old ones go.
    CFontHandle bold(MakeTahoma(FW_BOLD, false, m_scale));
    CFontHandle link(MakeTahoma(FW_NORMAL, true, m_scale));
    SendDlgItemMessageW(m_hWnd, IDC_ABOUT_VERSION, WM_SETFONT, reinterpret_cast<WPARAM>(bold.Get()), TRUE);
    SendDlgItemMessageW(m_hWnd, IDC_ABOUT_MAIL, WM_SETFONT, reinterpret_cast<WPARAM>(link.Get()), TRUE);
    SendDlgItemMessageW(m_hWnd, IDC_ABOUT_WEB, WM_SETFONT, reinterpret_cast<WPARAM>(link.Get()), TRUE);
    m_boldFont = std::move(bold);
    m_linkFont = std::move(link);
}

void CAboutDlg::SetPictures()
{
    static constexpr UINT kBanners[kPictureScaleCount] = {IDB_ABOUT_BANNER, IDB_ABOUT_BANNER_150,
                                                          IDB_ABOUT_BANNER_200};
    const HINSTANCE module = GetModuleHandleW(nullptr);
    const size_t scale = m_scale.PictureScale();
    if (scale != 0 || m_banner) {
        CBitmapHandle banner(LoadBitmapW(module, MAKEINTRESOURCEW(kBanners[scale])));
        if (banner) {
            HGDIOBJ previous = SetStaticImage(m_hWnd, IDC_ABOUT_BANNER, IMAGE_BITMAP, banner.Get());
            if (!m_banner && previous)
                DeleteObject(previous); // loaded by the control from the template
            m_banner = std::move(banner);
        }
    }
    // The link icons as the static controls load them are of the system's
    // DPI, which need not be the box's.
    const int iconSize = SystemMetricForDpi(SM_CXICON, m_scale.Dpi());
    if (iconSize != GetSystemMetrics(SM_CXICON) || m_mailIcon) {
        CIconHandle mail(LoadIconOfSize(module, IDI_MAIL_LINK, iconSize));
        CIconHandle web(LoadIconOfSize(module, IDI_WEB_LINK, iconSize));
        SetStaticImage(m_hWnd, IDC_ABOUT_MAIL_ICON, IMAGE_ICON, mail.Get());
        SetStaticImage(m_hWnd, IDC_ABOUT_WEB_ICON, IMAGE_ICON, web.Get());
        m_mailIcon = std::move(mail);
        m_webIcon = std::move(web);
    }
}

BOOL CAboutDlg::OnDpiChanged(WPARAM wParam, LPARAM, LRESULT&)
{
    // The dialog manager moves and resizes the template's controls after
    // this; the box's own fonts and pictures follow the new scale here.
    m_scale = CDpiScale(HIWORD(wParam));
    MakeFonts();
    SetPictures();
    return FALSE;
}

void CAboutDlg::OnOK()
{
    // The controls let go of the fonts and pictures before they are deleted.
    for (int id : {IDC_ABOUT_VERSION, IDC_ABOUT_MAIL, IDC_ABOUT_WEB})
        SendDlgItemMessageW(m_hWnd, id, WM_SETFONT, 0, FALSE);
    m_boldFont.Reset();
    m_linkFont.Reset();
    if (m_banner)
        SetStaticImage(m_hWnd, IDC_ABOUT_BANNER, IMAGE_BITMAP, nullptr);
    if (m_mailIcon) {
        SetStaticImage(m_hWnd, IDC_ABOUT_MAIL_ICON, IMAGE_ICON, nullptr);
        SetStaticImage(m_hWnd, IDC_ABOUT_WEB_ICON, IMAGE_ICON, nullptr);
    }
    m_banner.Reset();
    m_mailIcon.Reset();
    m_webIcon.Reset();
    CDialog::OnOK();
}

CAboutDlg::Link CAboutDlg::ClickedLink(POINT p, const CDpiScale& s)
{
    if (Within(p, s, 39, 151, 182, 192))
        return Link::mail;
    if (Within(p, s, 39, 146, 198, 209))
        return Link::web;
    return Link::none;
}

CAboutDlg::Link CAboutDlg::HoveredLink(POINT p, const CDpiScale& s)
{
    if (Within(p, s, 39, 115, 182, 192))
        return Link::mail;
    if (Within(p, s, 39, 115, 198, 209))
        return Link::web;
    return Link::none;
}

void CAboutDlg::OnLButtonDown(UINT, POINT p)
{
    switch (ClickedLink(p, m_scale)) {
    case Link::mail:
        OpenWithShell(AboutMailLink());
        break;
    case Link::web:
        OpenWithShell(TXT_HOME_PAGE_URL);
        break;
    case Link::none: {
        // Anywhere else the press starts moving the box, as on a caption.
        POINT screen = p;
        ClientToScreen(m_hWnd, &screen);
        PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        break;
    }
    }
}

void CAboutDlg::OnMouseMove(UINT, POINT p)
{
    const Link link = HoveredLink(p, m_scale);
    ShowWindow(GetDlgItem(IDC_ABOUT_MAIL_ICON), link == Link::mail ? SW_SHOW : SW_HIDE);
    ShowWindow(GetDlgItem(IDC_ABOUT_WEB_ICON), link == Link::web ? SW_SHOW : SW_HIDE);
}

HBRUSH CAboutDlg::OnCtlColorStatic(HDC dc, HWND control)
{
    // The links read as links: blue on the dialog's background.
    const int id = GetDlgCtrlID(control);
    if (id != IDC_ABOUT_MAIL && id != IDC_ABOUT_WEB)
        return nullptr;
    SetTextColor(dc, RGB(0, 102, 204));
    SetBkMode(dc, TRANSPARENT);
    return GetSysColorBrush(COLOR_BTNFACE);
}

void CAboutDlg::OnLinkCommand() {}
