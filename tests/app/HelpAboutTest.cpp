#include "tests/app/MainWindowFixture.h"

#include "app/AboutDlg.h"
#include "framework/AppInfo.h"
#include "framework/RegistryKey.h"
#include "framework/Services.h"
#include "resources/Texts.h"

#include <htmlhelp.h>

namespace {

bool ItemShown(HWND dialog, int id)
{
    return (GetWindowLongPtrW(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

TEST(AboutLinks, ClickAreasAreWiderThanHoverAreas)
{
    using L = CAboutDlg::Link;
    EXPECT_EQ(L::mail, CAboutDlg::ClickedLink({39, 182}));
    EXPECT_EQ(L::mail, CAboutDlg::ClickedLink({151, 192}));
    EXPECT_EQ(L::mail, CAboutDlg::ClickedLink({140, 185}));
    EXPECT_EQ(L::none, CAboutDlg::HoveredLink({140, 185})); // no icon there, yet a click opens mail
    EXPECT_EQ(L::none, CAboutDlg::ClickedLink({152, 185}));
    EXPECT_EQ(L::none, CAboutDlg::ClickedLink({38, 185}));
    EXPECT_EQ(L::none, CAboutDlg::ClickedLink({100, 195})); // between the two
    EXPECT_EQ(L::web, CAboutDlg::ClickedLink({146, 209}));
    EXPECT_EQ(L::none, CAboutDlg::ClickedLink({147, 200}));
    EXPECT_EQ(L::mail, CAboutDlg::HoveredLink({115, 182}));
    EXPECT_EQ(L::web, CAboutDlg::HoveredLink({39, 209}));
    EXPECT_EQ(L::none, CAboutDlg::HoveredLink({116, 200}));
    EXPECT_EQ(L::none, CAboutDlg::ClickedLink({10, 10})); // the banner
}

TEST_F(MainWindowTest, AboutShowsFontsHoverIconsLinksAndDragsElsewhere)
{
    Open();
    SetAppMainWindow(Hwnd()); // as start-up makes it
    bool ran = false;
    CServicesGuard guard;
    Services().modalDialog = [&](CDialog& dialog) {
        ran = true;
        HWND about = dialog.GetSafeHwnd();
        EXPECT_EQ(UINT(IDD_ABOUT), dialog.GetTemplateId());
        // Owned by the main window, which waits meanwhile.
        EXPECT_FALSE(IsWindowEnabled(Hwnd()));

        LOGFONTW bold{}, link{};
        GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(about, IDC_ABOUT_VERSION, WM_GETFONT, 0, 0)),
                   sizeof(bold), &bold);
        GetObjectW(reinterpret_cast<HFONT>(SendDlgItemMessageW(about, IDC_ABOUT_MAIL, WM_GETFONT, 0, 0)),
                   sizeof(link), &link);
        EXPECT_STREQ(L"Tahoma", bold.lfFaceName);
        EXPECT_EQ(13, bold.lfHeight);
        EXPECT_EQ(700, bold.lfWeight);
        EXPECT_EQ(400, link.lfWeight);
        EXPECT_TRUE(link.lfUnderline);

        EXPECT_FALSE(ItemShown(about, IDC_ABOUT_MAIL_ICON));
        SendMessageW(about, WM_MOUSEMOVE, 0, MAKELPARAM(60, 185));
        EXPECT_TRUE(ItemShown(about, IDC_ABOUT_MAIL_ICON));
        EXPECT_FALSE(ItemShown(about, IDC_ABOUT_WEB_ICON));
        SendMessageW(about, WM_MOUSEMOVE, 0, MAKELPARAM(60, 200));
        EXPECT_FALSE(ItemShown(about, IDC_ABOUT_MAIL_ICON));
        EXPECT_TRUE(ItemShown(about, IDC_ABOUT_WEB_ICON));
        SendMessageW(about, WM_MOUSEMOVE, 0, MAKELPARAM(140, 185));
        EXPECT_FALSE(ItemShown(about, IDC_ABOUT_MAIL_ICON));
        EXPECT_FALSE(ItemShown(about, IDC_ABOUT_WEB_ICON));

        SendMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(140, 185));
        SendMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(60, 205));
        EXPECT_EQ(2u, shell.size());

        // Elsewhere a press becomes a press on a caption: the box moves.
        MSG msg;
        while (PeekMessageW(&msg, about, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE)) {}
        SendMessageW(about, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 10));
        ASSERT_TRUE(PeekMessageW(&msg, about, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
        EXPECT_EQ(WPARAM(HTCAPTION), msg.wParam);

        // OK releases both fonts.
        HFONT linkFont = reinterpret_cast<HFONT>(SendDlgItemMessageW(about, IDC_ABOUT_MAIL, WM_GETFONT, 0, 0));
        SendMessageW(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        EXPECT_TRUE(dialog.IsEnded());
        LOGFONTW gone{};
        EXPECT_EQ(0, GetObjectW(linkFont, sizeof(gone), &gone));
    };
    Command(ID_HELP_ABOUT);
    SetAppMainWindow(nullptr);
    EXPECT_TRUE(ran);
    EXPECT_TRUE(IsWindowEnabled(Hwnd()));
    ASSERT_EQ(2u, shell.size());
    EXPECT_EQ(std::wstring(L"mailto:") + TXT_SUPPORT_MAIL + L"?Subject=Verbosa 3.0", shell[0].file);
    EXPECT_EQ(TXT_HOME_PAGE_URL, shell[1].file);
}

// A loader that records what it was asked for and answers from a list.
struct FakeLoader {
    std::vector<std::wstring> asked;
    std::vector<HMODULE> answers;
    CHtmlHelpBinding::Loader Get()
    {
        return [this](const std::wstring& path) {
            asked.push_back(path);
            if (answers.empty())
                return static_cast<HMODULE>(nullptr);
            HMODULE m = answers.front();
            answers.erase(answers.begin());
            return m;
        };
    }
};

void RegisterHelpControl(const std::wstring& path)
{
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CLASSES_ROOT, L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32",
                           KEY_SET_VALUE));
    ASSERT_TRUE(key.WriteString(L"", path));
}

TEST(HtmlHelpBinding, LoadsOnlyFromAnAbsoluteRegisteredPathOrTheSystemFolder)
{
    CRegistrySandbox sandbox;
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring systemPath = std::wstring(system) + L"\\hhctrl.ocx";
    EXPECT_EQ(systemPath, SystemHtmlHelpPath());

    // Not registered: the system folder, never a bare name.
    {
        FakeLoader loader;
        CHtmlHelpBinding binding(loader.Get());
        EXPECT_EQ(nullptr, binding.Bind());
        EXPECT_EQ(std::vector<std::wstring>{systemPath}, loader.asked);
        EXPECT_TRUE(binding.Failed());
        // A failed binding is final: no second attempt.
        EXPECT_EQ(nullptr, binding.Bind());
        EXPECT_EQ(1u, loader.asked.size());
    }
    // Registered by a bare or relative name: ignored for the same reason.
    RegisterHelpControl(L"hhctrl.ocx");
    {
        FakeLoader loader;
        CHtmlHelpBinding binding(loader.Get());
        binding.Bind();
        EXPECT_EQ(std::vector<std::wstring>{systemPath}, loader.asked);
    }
    // Registered with a full path, in any script: that first, then the system folder.
    const std::wstring registered = L"D:\\\u0421\u043F\u0440\u0430\u0432\u043A\u0430\\hhctrl.ocx";
    RegisterHelpControl(registered);
    {
        FakeLoader loader;
        CHtmlHelpBinding binding(loader.Get());
        binding.Bind();
        EXPECT_EQ((std::vector<std::wstring>{registered, systemPath}), loader.asked);
    }
    // A library without the entry point fails for good, too.
    {
        FakeLoader loader;
        loader.answers = {LoadLibraryW(GetModulePath().c_str())}; // this test: no exports
        CHtmlHelpBinding binding(loader.Get());
        EXPECT_EQ(nullptr, binding.Bind());
        EXPECT_TRUE(binding.Failed());
        EXPECT_EQ(nullptr, binding.Bind());
        EXPECT_EQ(1u, loader.asked.size());
    }
}

TEST(HtmlHelpBinding, BindsTheSystemsHelpControlForReal)
{
    HMODULE loaded = nullptr;
    CHtmlHelpBinding binding([&loaded](const std::wstring& path) {
        return loaded = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    });
    const CHtmlHelpBinding::Entry entry = binding.Bind();
    EXPECT_FALSE(binding.Failed());
    ASSERT_NE(nullptr, entry);
    // The wide entry: the narrow one would read the path's first unit alone.
    EXPECT_EQ(reinterpret_cast<FARPROC>(entry), GetProcAddress(loaded, "HtmlHelpW"));
}

TEST(HtmlHelpTopics, PathsBesideTheProgram)
{
    CServicesGuard services;
    CTempProgramFolder folder;
    const std::wstring program = folder.Path();
    EXPECT_EQ(program + L"\\quillon.chm", HelpFilePath());
    EXPECT_EQ(program + L"\\quillon.chm::/Creating_A_Command.htm", HelpTopicPath(kCommandHelpTopic));
    EXPECT_EQ(program + L"\\quillon.chm::/Creating_A_Fast_Folder.htm", HelpTopicPath(kFastFolderHelpTopic));

    std::vector<HtmlHelpRequest> calls;
    Services().htmlHelp = [&](const HtmlHelpRequest& r) {
        calls.push_back(r);
        return static_cast<HWND>(nullptr);
    };
    ShowHelpTopic(HelpTopicPath(kCommandHelpTopic));
    Services().htmlHelp = nullptr;
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ(UINT(HH_DISPLAY_TOPIC), calls[0].command);
    EXPECT_EQ(program + L"\\quillon.chm::/Creating_A_Command.htm", calls[0].path);
}

// Paths in any script reach the viewer and the shell unit for unit.
TEST(ServiceRequests, PathsOutsideTheCodePageArriveWhole)
{
    CServicesGuard services;
    const std::wstring path =
        L"C:\\\u0418\u043D\u0441\u0442\u0440\u0443\u043C\u0435\u043D\u0442\u044B\\\u540D \u0142 \U0001F4F7.chm";
    std::vector<HtmlHelpRequest> help;
    std::vector<ShellRequest> shell;
    Services().htmlHelp = [&](const HtmlHelpRequest& r) {
        help.push_back(r);
        return static_cast<HWND>(nullptr);
    };
    Services().shellOpen = [&](const ShellRequest& r) {
        shell.push_back(r);
        return true;
    };
    ShowHelpTopic(path + L"::/" + kCommandHelpTopic);
    EXPECT_TRUE(OpenWithShell(path));
    ASSERT_EQ(1u, help.size());
    EXPECT_EQ(path + L"::/Creating_A_Command.htm", help[0].path);
    ASSERT_EQ(1u, shell.size());
    EXPECT_EQ(path, shell[0].file);
}

} // namespace
