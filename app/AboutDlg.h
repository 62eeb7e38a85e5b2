#pragma once
// The About box: version, two contact links with hover icons; it has no
// caption bar and is moved by dragging its body.
#include "framework/Dialog.h"
#include "framework/Handles.h"

#include <string>

class CAboutDlg : public CDialog {
public:
    CAboutDlg();

    void DoDataExchange(bool save) override;
    void OnOK() override;

    // Which link a client point (pixels) is on, for clicks and for hovering;
    // the hover areas are narrower than the click areas.
    enum class Link { none, mail, web };
    static Link ClickedLink(POINT point);
    static Link HoveredLink(POINT point);

    DECLARE_ROUTES()

    void OnLButtonDown(UINT keys, POINT point);
    void OnMouseMove(UINT keys, POINT point);
    HBRUSH OnCtlColorStatic(HDC dc, HWND control);
    void OnLinkCommand();

    CFontHandle m_boldFont;
    CFontHandle m_linkFont;
};

// The mail link of menu Help, "Tech Support...", and of the About box.
std::string SupportMailLink();
std::string AboutMailLink();
