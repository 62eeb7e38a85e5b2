#include "app/AboutDlg.h"

#include "app/ShellOpen.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"

namespace {

HFONT MakeTahoma(int weight, bool underline)
{
    return CreateFontA(13, 0, 0, 0, weight, FALSE, underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       "Tahoma");
}

bool Within(POINT p, int left, int right, int top, int bottom)
{
    return p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
}

} // namespace

std::string SupportMailLink()
{
    return std::string("mailto:") + TXT_SUPPORT_MAIL + TXT_SUPPORT_SUBJECT;
}

std::string AboutMailLink()
{
    return std::string("mailto:") + TXT_SUPPORT_MAIL + TXT_ABOUT_MAIL_SUBJECT;
}

BEGIN_ROUTES(CAboutDlg, CDialog)
    ON_WM_LBUTTONDOWN(OnLButtonDown)
    ON_WM_MOUSEMOVE(OnMouseMove)
    ON_WM_CTLCOLORSTATIC(OnCtlColorStatic)
    ON_COMMAND(IDC_ABOUT_MAIL, OnLinkCommand)
    ON_COMMAND(IDC_ABOUT_WEB, OnLinkCommand)
END_ROUTES()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUT, nullptr) {}

void CAboutDlg::DoDataExchange(bool)
{
    if (m_boldFont)
        return;
    m_boldFont.Reset(MakeTahoma(FW_BOLD, false));
    m_linkFont.Reset(MakeTahoma(FW_NORMAL, true));
    SendDlgItemMessageA(m_hWnd, IDC_ABOUT_VERSION, WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont.Get()), TRUE);
    SendDlgItemMessageA(m_hWnd, IDC_ABOUT_MAIL, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), TRUE);
    SendDlgItemMessageA(m_hWnd, IDC_ABOUT_WEB, WM_SETFONT, reinterpret_cast<WPARAM>(m_linkFont.Get()), TRUE);
}

void CAboutDlg::OnOK()
{
    // The controls let go of the fonts before they are deleted.
    for (int id : {IDC_ABOUT_VERSION, IDC_ABOUT_MAIL, IDC_ABOUT_WEB})
        SendDlgItemMessageA(m_hWnd, id, WM_SETFONT, 0, FALSE);
    m_boldFont.Reset();
    m_linkFont.Reset();
    CDialog::OnOK();
}

CAboutDlg::Link CAboutDlg::ClickedLink(POINT p)
{
    if (Within(p, 39, 151, 182, 192))
        return Link::mail;
    if (Within(p, 39, 146, 198, 209))
        return Link::web;
    return Link::none;
}

CAboutDlg::Link CAboutDlg::HoveredLink(POINT p)
{
    if (Within(p, 39, 115, 182, 192))
        return Link::mail;
    if (Within(p, 39, 115, 198, 209))
        return Link::web;
    return Link::none;
}

void CAboutDlg::OnLButtonDown(UINT, POINT p)
{
    switch (ClickedLink(p)) {
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
        PostMessageA(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(screen.x, screen.y));
        break;
    }
    }
}

void CAboutDlg::OnMouseMove(UINT, POINT p)
{
    const Link link = HoveredLink(p);
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
