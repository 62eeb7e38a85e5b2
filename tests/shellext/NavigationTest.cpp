// Choosing a Fast Folder for real: the host's browser named by its site, or
// a common Open dialog, browses in place; any other window, a dialog of
// another program among them, gets a new window on the folder.
#include "tests/shellext/OpenDialogDriver.h"
#include "tests/shellext/ShellExtFixture.h"

#include <shlguid.h>


namespace {

// The recorder's command line (UTF-8), lower case.
std::wstring LowerLine(const std::string& utf8) { return Lower(Wide(utf8)); }

// A host's site that serves one browser as its top-level browser.
class CBrowserSite final : public IServiceProvider {
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** result) override
    {
        *result = riid == IID_IUnknown || riid == IID_IServiceProvider ? this : nullptr;
        if (!*result)
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
    STDMETHODIMP_(ULONG) Release() override { return --refs; }
    STDMETHODIMP QueryService(REFGUID service, REFIID riid, void** result) override
    {
        *result = nullptr;
        if (service != SID_STopLevelBrowser || riid != IID_IShellBrowser || !browser)
            return E_NOINTERFACE;
        browser->AddRef();
        *result = browser;
        return S_OK;
    }
    IShellBrowser* browser = nullptr;
    ULONG refs = 1;
};

// A dialog of another program that uses WM_USER+7 for its own purpose and
// answers it with a number that is no pointer.
int g_foreignAsked = 0;

INT_PTR CALLBACK ForeignDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message != kGetShellBrowser)
        return message == WM_INITDIALOG;
    ++g_foreignAsked;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 1);
    return TRUE;
}

HWND CreateForeignDialog()
{
    struct alignas(4) {
        DLGTEMPLATE header;
        WORD menu, windowClass, title;
    } form = {};
    form.header.style = WS_POPUP | WS_CAPTION | WS_VISIBLE;
    form.header.cx = 120;
    form.header.cy = 60;
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), &form.header, nullptr, ForeignDialogProc, 0);
}

class NavigationTest : public ShellExtTest {
protected:
    // A handler whose menu was built over the store's aliases and paths.
    void MakeHandler(const std::vector<std::wstring>& aliases, const std::vector<std::wstring>& paths)
    {
        WriteStore(aliases, paths);
        CreateHandler(m_handler, IID_IContextMenu);
        HRESULT result = E_FAIL;
        DestroyMenu(BuildMenu(m_handler.Get(), result));
        ASSERT_EQ(MenuIds(static_cast<int>(aliases.size())), HRESULT_CODE(result));
    }

    CInterfacePtr<IContextMenu> m_handler;
};

TEST_F(NavigationTest, FoldersInAnyScriptAreShownInPlaceOrInANewWindow)
{
    const CRecorderLog recorder;
    CRecorderLog::StandInForNewWindows();
    CTempProgramFolder base(false, L"-scripts");
    const CWideFolder chinese(base.Path() + L"\\\u6587\u6863");
    const CWideFolder emoji(base.Path() + L"\\Fotos \U0001F4F7 \u0141\u00F3d\u017A");
    WriteStore(std::vector<std::wstring>{L"\u6587\u6863", L"\U0001F4F7"},
               std::vector<std::wstring>{chinese.Path(), emoji.Path()});
    CreateHandler(m_handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    DestroyMenu(BuildMenu(m_handler.Get(), result));
    ASSERT_EQ(MenuIds(2), HRESULT_CODE(result));

    std::wstring afterChinese, afterEmoji;
    const size_t done = DriveOpenDialog(WindowsFolder(), {
        [&](HWND dialog) {
            SetActiveWindow(dialog);
            EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 0));
        },
        [&](HWND dialog) {
            afterChinese = FolderOf(dialog);
            EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 1));
        },
        [&](HWND dialog) { afterEmoji = FolderOf(dialog); },
    });
    ASSERT_EQ(3u, done);
    EXPECT_EQ(Lower(chinese.Path()), Lower(afterChinese));
    EXPECT_EQ(Lower(emoji.Path()), Lower(afterEmoji));

    // Elsewhere the shell opens a new window on the folder, named whole.
    const CWindowHandle window(CreatePlainWindow());
    SetActiveWindow(window.Get());
    EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 1));
    const std::string line = recorder.Wait(20000);
    EXPECT_NE(std::wstring::npos, LowerLine(line).find(Lower(emoji.Path()))) << line;
}

TEST_F(NavigationTest, OpenDialogBrowsesToTheFolderInPlace)
{
    CTempProgramFolder target(false, L"-target");
    MakeHandler({L"Target", L"Gone"}, {target.Path(), target.Path() + L"\\no such folder"});
    const std::wstring windows = WindowsFolder();

    bool wasActive = false;
    std::wstring start, afterMissing, afterChoice;
    HRESULT missingResult = E_FAIL, choiceResult = E_FAIL;
    const size_t done = DriveOpenDialog(windows, {
        [&](HWND dialog) {
            // The user right-clicks the file list: the dialog is the active window.
            SetActiveWindow(dialog);
            wasActive = GetActiveWindow() == dialog;
            start = FolderOf(dialog);
            missingResult = InvokeVerb(m_handler.Get(), 1);
        },
        [&](HWND dialog) {
            afterMissing = FolderOf(dialog);
            choiceResult = InvokeVerb(m_handler.Get(), 0);
        },
        [&](HWND dialog) { afterChoice = FolderOf(dialog); },
    });

    ASSERT_EQ(3u, done) << "the Open dialog never showed, or closed before the choices were made";
    EXPECT_TRUE(wasActive);
    EXPECT_EQ(Lower(windows), Lower(start));
    // A folder that is gone opens nothing: the dialog stays where it was.
    EXPECT_EQ(S_OK, missingResult);
    EXPECT_EQ(Lower(windows), Lower(afterMissing));
    EXPECT_EQ(S_OK, choiceResult);
    EXPECT_EQ(Lower(target.Path()), Lower(afterChoice));
}

TEST_F(NavigationTest, TheSitesBrowserNavigatesWhateverWindowIsActive)
{
    const CRecorderLog recorder;
    CRecorderLog::StandInForNewWindows();
    CTempProgramFolder target(false, L"-site");
    MakeHandler({L"Target"}, {target.Path()});
    CInterfacePtr<IObjectWithSite> withSite;
    ASSERT_EQ(S_OK, m_handler->QueryInterface(IID_IObjectWithSite, withSite.PutVoid()));
    CBrowserSite site;

    std::wstring afterChoice;
    HRESULT choiceResult = E_FAIL;
    CWindowHandle plain;
    const size_t done = DriveOpenDialog(WindowsFolder(), {
        [&](HWND dialog) {
            // The host serves the dialog's browser; the active window would
            // get a new window if the handler asked it instead.
            site.browser = reinterpret_cast<IShellBrowser*>(SendMessageW(dialog, kGetShellBrowser, 0, 0));
            withSite->SetSite(&site);
            plain.Reset(CreatePlainWindow());
            SetActiveWindow(plain.Get());
            choiceResult = InvokeVerb(m_handler.Get(), 0);
        },
        [&](HWND dialog) { afterChoice = FolderOf(dialog); },
    });

    ASSERT_EQ(2u, done);
    ASSERT_TRUE(site.browser);
    EXPECT_EQ(S_OK, choiceResult);
    EXPECT_EQ(Lower(target.Path()), Lower(afterChoice));
    EXPECT_EQ("", recorder.Wait(2000)) << "a new window was opened";

    // The site is held until it is cleared, or until the handler goes.
    CInterfacePtr<IServiceProvider> held;
    EXPECT_EQ(S_OK, withSite->GetSite(IID_IServiceProvider, held.PutVoid()));
    EXPECT_EQ(static_cast<IServiceProvider*>(&site), held.Get());
    held.Reset();
    EXPECT_EQ(S_OK, withSite->SetSite(nullptr));
    EXPECT_EQ(1u, site.refs);
    EXPECT_EQ(E_FAIL, withSite->GetSite(IID_IServiceProvider, held.PutVoid()));
    withSite->SetSite(&site);
    withSite.Reset();
    m_handler.Reset();
    EXPECT_EQ(1u, site.refs);
}

TEST_F(NavigationTest, APlainWindowGetsANewWindowOnTheFolder)
{
    const CRecorderLog recorder;
    CRecorderLog::StandInForNewWindows();
    CTempProgramFolder target(false, L"-plain");
    MakeHandler({L"Target", L"Empty"}, {target.Path(), L""});
    const CWindowHandle window(CreatePlainWindow());
    ASSERT_TRUE(window);
    SetActiveWindow(window.Get());
    ASSERT_EQ(window.Get(), GetActiveWindow());

    EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 0));
    const std::string line = recorder.Wait(20000);
    EXPECT_NE(std::wstring::npos, LowerLine(line).find(Lower(target.Path()))) << line;

    // An item removed since the menu was built (never the folder opened
    // before), an empty path, and an offset the menu never had: nothing.
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStoreKey.c_str(), L"00");
    EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 0));
    EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 1));
    EXPECT_EQ(E_INVALIDARG, InvokeVerb(m_handler.Get(), 3));
    EXPECT_EQ("", recorder.Wait(3000));
}

TEST_F(NavigationTest, ADialogThatIsNoFileDialogIsNeverAskedForABrowser)
{
    ExitOnCrash();
    const CRecorderLog recorder;
    CRecorderLog::StandInForNewWindows();
    CTempProgramFolder target(false, L"-foreign");
    MakeHandler({L"Target"}, {target.Path()});
    const CWindowHandle dialog(CreateForeignDialog());
    ASSERT_TRUE(dialog);
    SetActiveWindow(dialog.Get());
    ASSERT_EQ(dialog.Get(), GetActiveWindow());

    g_foreignAsked = 0;
    EXPECT_EQ(S_OK, InvokeVerb(m_handler.Get(), 0));
    EXPECT_EQ(0, g_foreignAsked);
    // Like any other window, it gets a new window on the folder.
    const std::string line = recorder.Wait(20000);
    EXPECT_NE(std::wstring::npos, LowerLine(line).find(Lower(target.Path()))) << line;
}

} // namespace
