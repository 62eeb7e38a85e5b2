#pragma once
// The About box: version, two contact links with hover icons; it has no
// caption bar and is moved by dragging its body.
#include "framework/Dialog.h"
#include "framework/DpiScale.h"
#include "framework/Handles.h"

#include <string>

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    void DoDataExchange(bool save) override;
    void OnOK() override;

    // Which link a client point (pixels at the box's scale) is on, for
    // clicks and for hovering; the hover areas are narrower than the click
    // areas.
    enum class Link { none, mail, web };
    static Link ClickedLink(POINT point, const CDpiScale& scale = CDpiScale());
    static Link HoveredLink(POINT point, const CDpiScale& scale = CDpiScale());

    DECLARE_ROUTES()

    void OnLButtonDown(UINT keys, POINT point);
    void OnMouseMove(UINT keys, POINT point);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnLinkCommand();
    BOOL OnDpiChanged(WPARAM wParam, LPARAM lParam, LRESULT& result);
    void MakeFonts();
    void SetPictures();

    CDpiScale m_scale;
    CFontHandle m_boldFont;
    CFontHandle m_linkFont;
    // Drawn for the box's scale when that is not 100 %; the template's
    // pictures are used as they are otherwise.
    CBitmapHandle m_banner;
    CIconHandle m_mailIcon;
    CIconHandle m_webIcon;
};

// The mail link of menu Help, "Tech Support...", and of the About box.
std::wstring SupportMailLink();
std::wstring AboutMailLink();
