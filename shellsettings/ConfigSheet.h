#pragma once
// The Configuration sheet: switches the "Create Shortcut Command" verb and
// the Fast Folders shell extension on and off; a third page only explains.
#include "framework/DpiScale.h"
#include "framework/PropertySheet.h"

#include <cstdint>
#include <string>

// A page with one Enabled/Disabled radio group. The choices are indices of
// the group: 0 "Enabled", 1 "Disabled". The initial choice is what the
// system is in; both are 0 until the page is first shown, so a page never
// shown compares equal and changes nothing.
class CConfigChoicePage : public CPropertyPage {
public:
    CConfigChoicePage(UINT templateId, int firstRadioId);

    int32_t CurrentChoice() const { return m_current; }
    int32_t InitialChoice() const { return m_initial; }
    bool HasChange() const { return m_current != m_initial; }
    void CommitChoice() { m_initial = m_current; }

    DECLARE_ROUTES()

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(bool save) override;
    // Whether the feature is on in the system now.
    virtual bool ReadSystemState() const = 0;

private:
    void OnEnabled();
    void OnDisabled();
    void OnChoice(int32_t choice);

    int m_firstRadioId;
    int32_t m_current = 0;
    int32_t m_initial = 0;
};

class CConfigTab1 : public CConfigChoicePage { // L"Context Menu": the verb
public:
    CConfigTab1();
    ~CConfigTab1() override = default;

protected:
    bool ReadSystemState() const override;
};

class CConfigTab2 : public CConfigChoicePage { // L"Fast Folders": the extension
public:
    CConfigTab2();
    ~CConfigTab2() override = default;

    // "Show folders open in Explorer", as the extension's switch.
    bool ShowsOpenFolders() const { return m_showOpenFolders; }
    bool HasOpenFoldersChange() const { return m_showOpenFolders != m_initialShowOpenFolders; }
    void CommitOpenFolders() { m_initialShowOpenFolders = m_showOpenFolders; }

    DECLARE_ROUTES()

protected:
    BOOL OnInitDialog() override;
    bool ReadSystemState() const override;

private:
    void OnShowOpenFolders();

    bool m_showOpenFolders = true;
    bool m_initialShowOpenFolders = true;
};

class CConfigTab3 : public CPropertyPage { // L"Run dialog": text only
public:
    CConfigTab3();
};

class CConfigPropSheet : public CPropertySheet {
public:
    // parent nullptr: owned by the application's main window.
    CConfigPropSheet(CConfigTab1& verbPage, CConfigTab2& extensionPage, CConfigTab3& runPage,
                     HWND parent = nullptr);
    ~CConfigPropSheet() override;

    bool OnCommand(UINT id, UINT notifyCode, HWND control) override;
    BOOL OnInitDialog() override;

    // Brings the system to the pages' choices (Apply and OK).
    void ApplyChoices();

private:
    CConfigTab1& m_verbPage;
    CConfigTab2& m_extensionPage;
};

// Where OK, Cancel and Apply go: one button place to the right, closing the
// gap of the hidden Help button; the gap between buttons is 6 pixels at
// 96 DPI, scaled to the sheet's.
RECT MovedOneButtonRight(const RECT& button, const CDpiScale& scale = CDpiScale());
