// The handler on real menus: entries, ids, pictures and counts; command
// strings; the commands it carries out ("Settings..." for real); a failed
// allocation inside the library.
#include "tests/shellext/ShellExtFixture.h"

#include <cstring>
#include <utility>

namespace {

bool IsSeparator(HMENU menu, int position)
{
    return (MenuItemAt(menu, position, MIIM_FTYPE).fType & MFT_SEPARATOR) != 0;
}

MENUITEMINFOW ItemInfo(HMENU menu, int position)
{
    return MenuItemAt(menu, position, MIIM_ID | MIIM_SUBMENU | MIIM_CHECKMARKS);
}

// The colour of a picture's pixel, read back from the bitmap itself.
COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    DWORD pixels[16 * 16] = {};
    const HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, 16, pixels, &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    const DWORD bgr = pixels[y * 16 + x];
    return RGB((bgr >> 16) & 0xFF, (bgr >> 8) & 0xFF, bgr & 0xFF);
}

class ContextMenuTest : public ShellExtTest {
protected:
    // A fresh handler's menu (ids from 1) over the store as it is now: the
    // number of ids it used, and its submenu in popup.
    int FreshMenu(CMenuHandle& menu, HMENU& popup)
    {
        CInterfacePtr<IContextMenu> handler;
        CreateHandler(handler, IID_IContextMenu);
        HRESULT result = E_FAIL;
        menu.Reset(BuildMenu(handler.Get(), result, 0, 1));
        popup = ItemInfo(menu.Get(), 1).hSubMenu;
        return HRESULT_CODE(result);
    }
};

// While it lives, the next malloc inside Tesselator.dll fails: its slot in
// the library's import table is swapped. The library carries its own C++
// runtime, whose operator new ends there; the test process is untouched.
class CFailingLibraryMalloc {
public:
    CFailingLibraryMalloc() : m_slot(ImportSlot("msvcrt.dll", "malloc"))
    {
        s_failNext = true;
        if (m_slot)
            s_original = reinterpret_cast<Malloc>(Swap(reinterpret_cast<void*>(&FailingMalloc)));
    }
    ~CFailingLibraryMalloc()
    {
        if (m_slot)
            Swap(reinterpret_cast<void*>(s_original));
    }
    CFailingLibraryMalloc(const CFailingLibraryMalloc&) = delete;
    CFailingLibraryMalloc& operator=(const CFailingLibraryMalloc&) = delete;
    explicit operator bool() const { return m_slot != nullptr; }

private:
    using Malloc = void*(__cdecl*)(size_t);
    static void* __cdecl FailingMalloc(size_t size)
    {
        return std::exchange(s_failNext, false) ? nullptr : s_original(size);
    }

    static void** ImportSlot(const char* library, const char* function)
    {
        auto* base = reinterpret_cast<BYTE*>(Tesselator().module);
        const IMAGE_IMPORT_DESCRIPTOR* entry = FindImport(Tesselator().module, library);
        if (!entry)
            return nullptr;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->OriginalFirstThunk);
        auto* slot = reinterpret_cast<IMAGE_THUNK_DATA*>(base + entry->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++slot) {
            const auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (!IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal) && std::strcmp(byName->Name, function) == 0)
                return reinterpret_cast<void**>(&slot->u1.Function);
        }
        return nullptr;
    }

    void* Swap(void* function)
    {
        DWORD protection = 0;
        VirtualProtect(m_slot, sizeof *m_slot, PAGE_READWRITE, &protection);
        void* const old = std::exchange(*m_slot, function);
        VirtualProtect(m_slot, sizeof *m_slot, protection, &protection);
        return old;
    }

    static inline Malloc s_original = nullptr;
    static inline bool s_failNext = false;
    void** m_slot;
};

TEST_F(ContextMenuTest, SubmenuHoldsTheAliasesThenSettings)
{
    for (const int count : {0, 3, 10}) {
        SCOPED_TRACE(count);
        RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey.c_str());
        CreateKey(HKEY_CURRENT_USER, kStoreKey);
        WriteStore(NumberedAliases(count), std::vector<std::wstring>(count, L"C:\\windows"));
        CInterfacePtr<IContextMenu> handler;
        CreateHandler(handler, IID_IContextMenu);
        HRESULT result = E_FAIL;
        const HMENU menu = BuildMenu(handler.Get(), result, 1, 100);
        ASSERT_TRUE(menu);
        EXPECT_EQ(MAKE_HRESULT(SEVERITY_SUCCESS, 0, MenuIds(count)), result);

        // Separator, "Fast Folders", separator, from indexMenu on.
        ASSERT_EQ(5, GetMenuItemCount(menu));
        EXPECT_EQ(L"Before", MenuTextAt(menu, 0));
        EXPECT_TRUE(IsSeparator(menu, 1));
        EXPECT_EQ(L"Fast Folders", MenuTextAt(menu, 2));
        EXPECT_TRUE(IsSeparator(menu, 3));
        EXPECT_EQ(L"After", MenuTextAt(menu, 4));
        const MENUITEMINFOW submenu = ItemInfo(menu, 2);
        ASSERT_TRUE(submenu.hSubMenu);
        ASSERT_TRUE(submenu.hbmpUnchecked);
        EXPECT_FALSE(submenu.hbmpChecked);
        EXPECT_EQ(RGB(0, 0x80, 0), PixelOf(submenu.hbmpUnchecked, 7, 7)); // dark-green chevron
        EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), PixelOf(submenu.hbmpUnchecked, 0, 0));

        const HMENU popup = submenu.hSubMenu;
        ASSERT_EQ(count + (count > 0 ? 1 : 0) + 3, GetMenuItemCount(popup));
        for (int i = 0; i < count; ++i) {
            const MENUITEMINFOW entry = ItemInfo(popup, i);
            EXPECT_EQ(L"Alias " + std::to_wstring(i), MenuTextAt(popup, i));
            EXPECT_EQ(static_cast<UINT>(100 + i), entry.wID);
            EXPECT_TRUE(entry.hbmpUnchecked);
            EXPECT_FALSE(entry.hbmpChecked);
            EXPECT_EQ(RGB(0xFF, 0, 0), PixelOf(entry.hbmpUnchecked, 6, 8)); // red arrow
        }
        if (count > 0) {
            EXPECT_TRUE(IsSeparator(popup, count));
        }
        // The nested submenu holds only its grey placeholder until it opens.
        const int nestedAt = count + (count > 0 ? 1 : 0);
        EXPECT_EQ(L"Folders open in Explorer", MenuTextAt(popup, nestedAt));
        const HMENU nested = ItemInfo(popup, nestedAt).hSubMenu;
        ASSERT_TRUE(nested);
        ASSERT_EQ(1, GetMenuItemCount(nested));
        EXPECT_EQ(L"(no folders open in Explorer)", MenuTextAt(nested, 0));
        EXPECT_EQ(static_cast<UINT>(100 + count + 1), ItemInfo(nested, 0).wID);
        EXPECT_TRUE(MenuItemAt(nested, 0, MIIM_STATE).fState & MFS_GRAYED);
        EXPECT_TRUE(IsSeparator(popup, nestedAt + 1));
        const int settings = GetMenuItemCount(popup) - 1;
        EXPECT_EQ(L"Settings...", MenuTextAt(popup, settings));
        EXPECT_EQ(static_cast<UINT>(100 + count), ItemInfo(popup, settings).wID);
        EXPECT_FALSE(ItemInfo(popup, settings).hbmpUnchecked);
        DestroyMenu(menu);
    }
}

// Run at 96, 144 and 192 DPI: today's 16-colour check-mark pictures at
// 100 %, and from 150 % on pictures drawn for the scale, with alpha, as item
// bitmaps (the way menus blend them).
TEST_F(ContextMenuTest, PicturesFollowTheScaleOfTheMenu)
{
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey.c_str());
    CreateKey(HKEY_CURRENT_USER, kStoreKey);
    WriteStore({L"Docs"}, {L"C:\\windows"});
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    const HMENU menu = BuildMenu(handler.Get(), result, 0, 100);
    ASSERT_TRUE(menu);
    const MENUITEMINFOW submenu = MenuItemAt(menu, 1, MIIM_SUBMENU | MIIM_CHECKMARKS | MIIM_BITMAP);
    const MENUITEMINFOW entry = MenuItemAt(submenu.hSubMenu, 0, MIIM_CHECKMARKS | MIIM_BITMAP);
    for (const MENUITEMINFOW& item : {submenu, entry}) {
        const HBITMAP picture = dpi < 144 ? item.hbmpUnchecked : item.hbmpItem;
        EXPECT_EQ(nullptr, dpi < 144 ? item.hbmpItem : item.hbmpUnchecked);
        BITMAP info{};
        ASSERT_TRUE(GetObjectW(picture, sizeof info, &info));
        EXPECT_EQ(dpi < 144 ? 16 : dpi < 192 ? 24 : 32, info.bmWidth);
        if (dpi >= 144) {
            ASSERT_EQ(32, info.bmBitsPixel);
            ASSERT_TRUE(info.bmBits);
            const auto* pixels = static_cast<const BYTE*>(info.bmBits);
            EXPECT_EQ(0, pixels[3]); // a corner is transparent
            bool opaque = false;
            for (LONG i = 0; i < info.bmWidth * info.bmHeight; ++i)
                opaque = opaque || pixels[i * 4 + 3] == 255;
            EXPECT_TRUE(opaque);
        }
    }
    DestroyMenu(menu);
}

TEST_F(ContextMenuTest, OffersOnlyWhatTheStoreCanGive)
{
    // A gap at index 2: only the aliases before it.
    WriteStore({L"Docs", L"R&D", L"", L"Late"}, {L"C:\\Docs", L"C:\\RD", L"", L"C:\\Late"});
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kStoreKey.c_str(), L"2");
    CMenuHandle menu;
    HMENU popup = nullptr;
    EXPECT_EQ(MenuIds(2), FreshMenu(menu, popup));
    EXPECT_EQ(L"Docs", MenuTextAt(popup, 0));
    // Shown as typed: the ampersand is no mnemonic marker.
    EXPECT_EQ(L"R&&D", MenuTextAt(popup, 1));

    // Texts at the buffer's edge: 259 units fit, 260 without a terminator
    // do not, and a text stored without its terminator reads whole.
    const auto unterminated = [](const std::wstring& text) { return TextBytes(text).substr(0, text.size() * 2); };
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey.c_str());
    WriteRawValue(HKEY_CURRENT_USER, kStoreKey, L"0", REG_SZ, unterminated(L"Bare"));
    WriteStoreText(L"1", std::wstring(259, L'f'));
    WriteRawValue(HKEY_CURRENT_USER, kStoreKey, L"2", REG_SZ, unterminated(std::wstring(260, L'g')));
    WriteStoreText(L"3", L"After");
    EXPECT_EQ(MenuIds(2), FreshMenu(menu, popup));
    EXPECT_EQ(L"Bare", MenuTextAt(popup, 0));
    EXPECT_EQ(std::wstring(259, L'f'), MenuTextAt(popup, 1));

    // No store at all: no aliases, the open folders (on unless switched
    // off), "Settings...".
    RegDeleteTreeW(HKEY_CURRENT_USER, kStoreKey.c_str());
    EXPECT_EQ(MenuIds(0), FreshMenu(menu, popup));
    ASSERT_EQ(3, GetMenuItemCount(popup));
    EXPECT_EQ(L"Folders open in Explorer", MenuTextAt(popup, 0));
    EXPECT_EQ(L"Settings...", MenuTextAt(popup, 2));
    EXPECT_EQ(1u, ItemInfo(popup, 2).wID);

    // Switched off: the aliases and "Settings..." as before, nothing more;
    // anything but a stored 0 leaves it on.
    WriteStore({L"Docs"}, {L"C:\\Docs"});
    for (const auto& [data, ids] : {std::pair{std::string(4, '\0'), MenuIds(1) - kOpenFolderIds},
                                    std::pair{std::string("\1\0\0\0", 4), MenuIds(1)},
                                    std::pair{std::string(2, '\0'), MenuIds(1)}}) {
        WriteRawValue(HKEY_CURRENT_USER, kStoreKey, L"ShowOpenFolders", REG_DWORD, data);
        EXPECT_EQ(ids, FreshMenu(menu, popup));
    }
    WriteRawValue(HKEY_CURRENT_USER, kStoreKey, L"ShowOpenFolders", REG_DWORD, std::string(4, '\0'));
    FreshMenu(menu, popup);
    ASSERT_EQ(3, GetMenuItemCount(popup));
    EXPECT_EQ(L"Docs", MenuTextAt(popup, 0));
    EXPECT_EQ(L"Settings...", MenuTextAt(popup, 2));
}

TEST_F(ContextMenuTest, ShowsAliasesInAnyScriptExactlyAsWritten)
{
    // Chinese, an emoji (a surrogate pair) beside an ampersand, and the
    // limit counted in UTF-16 units: 259 fit, 260 do not.
    const std::wstring chinese = L"\u6587\u6863 \u7167\u7247";
    const std::wstring emoji = L"Fotos \U0001F4F7 & \u0141\u00F3d\u017A";
    const std::wstring longest(259, L'\u540D');
    WriteStore(std::vector<std::wstring>{chinese, emoji, longest, std::wstring(260, L'\u540D')},
               std::vector<std::wstring>(4, L"C:\\windows"));
    CMenuHandle menu;
    HMENU popup = nullptr;
    EXPECT_EQ(MenuIds(3), FreshMenu(menu, popup));
    EXPECT_EQ(chinese, MenuTextAt(popup, 0));
    EXPECT_EQ(L"Fotos \U0001F4F7 && \u0141\u00F3d\u017A", MenuTextAt(popup, 1));
    EXPECT_EQ(longest, MenuTextAt(popup, 2));
    EXPECT_EQ(L"Settings...", MenuTextAt(popup, 6));

    // A value of another type holds no text: it ends the list like a gap,
    // rather than showing its bytes as characters.
    WriteRawValue(HKEY_CURRENT_USER, kStoreKey, L"1", REG_BINARY, Utf8(emoji));
    EXPECT_EQ(MenuIds(1), FreshMenu(menu, popup));
}

TEST_F(ContextMenuTest, AddsNothingForDefaultOnlyOrTooFewIds)
{
    WriteStore(NumberedAliases(3), std::vector<std::wstring>(3, L"C:\\windows"));
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    HMENU menu = BuildMenu(handler.Get(), result, 0, 100, 0x7FFF, CMF_DEFAULTONLY);
    EXPECT_EQ(S_OK, result);
    EXPECT_EQ(2, GetMenuItemCount(menu));
    DestroyMenu(menu);

    // Four ids are needed for the aliases and Settings; 100..102 would make
    // the last one collide.
    menu = BuildMenu(handler.Get(), result, 0, 100, 102);
    EXPECT_EQ(S_OK, result);
    EXPECT_EQ(2, GetMenuItemCount(menu));
    DestroyMenu(menu);
    // Room for those but not for the nested submenu: it is left out.
    for (const UINT last : {103u, 113u}) {
        menu = BuildMenu(handler.Get(), result, 0, 100, last);
        EXPECT_EQ(4, HRESULT_CODE(result)) << last;
        EXPECT_EQ(5, GetMenuItemCount(MenuItemAt(menu, 1, MIIM_SUBMENU).hSubMenu)) << last;
        DestroyMenu(menu);
    }
    menu = BuildMenu(handler.Get(), result, 0, 100, 114);
    EXPECT_EQ(MenuIds(3), HRESULT_CODE(result));
    DestroyMenu(menu);
}

TEST_F(ContextMenuTest, OutOfMemoryIsReportedAndLeavesTheShellsMenuAlone)
{
    // Long enough to be allocated: the menu text is made per alias.
    WriteStore({std::wstring(100, L'a')}, {L"C:\\windows"});
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    DestroyMenu(BuildMenu(handler.Get(), result));
    ASSERT_EQ(MenuIds(1), HRESULT_CODE(result));

    CMenuHandle menu(CreatePopupMenu());
    {
        const CFailingLibraryMalloc failing;
        ASSERT_TRUE(failing) << "malloc is not imported from msvcrt.dll";
        EXPECT_EQ(E_OUTOFMEMORY, handler->QueryContextMenu(menu.Get(), 0, 100, 0x7FFF, CMF_NORMAL));
    }
    EXPECT_EQ(0, GetMenuItemCount(menu.Get()));
    EXPECT_EQ(MenuIds(1), HRESULT_CODE(handler->QueryContextMenu(menu.Get(), 0, 100, 0x7FFF, CMF_NORMAL)));
}

TEST_F(ContextMenuTest, InitializeRefusesFoldersWithoutAPath)
{
    CInterfacePtr<IShellExtInit> init;
    CreateHandler(init, IID_IShellExtInit);
    PIDLIST_ABSOLUTE computer = nullptr;
    ASSERT_EQ(S_OK, SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer));
    EXPECT_EQ(E_INVALIDARG, init->Initialize(computer, nullptr, nullptr));
    ILFree(computer);
    EXPECT_EQ(E_INVALIDARG, init->Initialize(nullptr, nullptr, nullptr));
    PIDLIST_ABSOLUTE windows = FolderPidl(L"C:\\windows");
    EXPECT_EQ(S_OK, init->Initialize(windows, nullptr, nullptr));
    ILFree(windows);
}

TEST_F(ContextMenuTest, HelpTextOnlyForTheFirstOffset)
{
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    char narrow[32] = {};
    EXPECT_EQ(S_OK, handler->GetCommandString(0, GCS_HELPTEXTA, nullptr, narrow, sizeof narrow));
    EXPECT_STREQ("Fast Folders", narrow);
    wchar_t wide[32] = {};
    EXPECT_EQ(S_OK, handler->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(wide), 32));
    EXPECT_STREQ(L"Fast Folders", wide);

    // Too small: cut, terminated, and nothing written past the size.
    char small[8];
    std::fill(std::begin(small), std::end(small), 'x');
    EXPECT_EQ(S_OK, handler->GetCommandString(0, GCS_HELPTEXTA, nullptr, small, 5));
    EXPECT_STREQ("Fast", small);
    EXPECT_EQ('x', small[5]);
    wchar_t smallWide[8];
    std::fill(std::begin(smallWide), std::end(smallWide), L'x');
    EXPECT_EQ(S_OK, handler->GetCommandString(0, GCS_HELPTEXTW, nullptr, reinterpret_cast<char*>(smallWide), 3));
    EXPECT_STREQ(L"Fa", smallWide);
    EXPECT_EQ(L'x', smallWide[3]);
    EXPECT_EQ(E_INVALIDARG, handler->GetCommandString(0, GCS_HELPTEXTA, nullptr, small, 0));
    EXPECT_EQ('F', small[0]);

    for (const UINT type : {GCS_VERBA, GCS_VERBW, GCS_VALIDATEA, GCS_VALIDATEW})
        EXPECT_EQ(E_INVALIDARG, handler->GetCommandString(0, type, nullptr, narrow, sizeof narrow)) << type;
    EXPECT_EQ(E_INVALIDARG, handler->GetCommandString(1, GCS_HELPTEXTA, nullptr, narrow, sizeof narrow));
    EXPECT_EQ(E_INVALIDARG, handler->GetCommandString(3, GCS_HELPTEXTW, nullptr, narrow, sizeof narrow));
}

TEST_F(ContextMenuTest, SettingsStartsTheProgramOnItsFastFoldersPage)
{
    const CRecorderLog recorder;
    WriteStore(NumberedAliases(10), std::vector<std::wstring>(10, L"C:\\windows"));
    WriteStoreText(L"Path", CRecorderLog::ProgramPath());
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    DestroyMenu(BuildMenu(handler.Get(), result));
    ASSERT_EQ(MenuIds(10), HRESULT_CODE(result));

    // A string verb, the placeholder, an open folder never listed, and an
    // offset past the menu's ids do nothing.
    for (const UINT_PTR verb : {reinterpret_cast<UINT_PTR>("open"), UINT_PTR{11}, UINT_PTR{12}, UINT_PTR{22}})
        EXPECT_EQ(E_INVALIDARG, InvokeVerb(handler.Get(), verb));
    ASSERT_EQ(S_OK, InvokeVerb(handler.Get(), 10));
    const std::string line = recorder.Wait(20000);
    EXPECT_NE(std::string::npos, line.find("shellext_recorder.exe")) << line;
    EXPECT_EQ(" -ffsettings", line.substr(line.size() - 12)) << line;
}

TEST_F(ContextMenuTest, SettingsStartsWhatPathNamesWhateverTheScript)
{
    const CRecorderLog recorder;
    CInterfacePtr<IContextMenu> handler;
    CreateHandler(handler, IID_IContextMenu);
    HRESULT result = E_FAIL;
    DestroyMenu(BuildMenu(handler.Get(), result));
    ASSERT_EQ(MenuIds(0), HRESULT_CODE(result));
    // No "Path": nothing starts.
    EXPECT_EQ(S_OK, InvokeVerb(handler.Get(), 0));
    EXPECT_EQ("", recorder.Wait(2000));

    // A Just me install lands in the user's profile, whose name may be in
    // any script; "Path" is read at the moment of the choice.
    CTempProgramFolder base(false, L"-profile");
    const CWideFolder folder(base.Path() + L"\\\u0141ukasz \u540D");
    const std::wstring program = folder.Path() + L"\\quillon.exe";
    ASSERT_TRUE(CopyFileW(CRecorderLog::ProgramPath().c_str(), program.c_str(), FALSE));
    WriteStoreText(L"Path", program);
    ASSERT_EQ(S_OK, InvokeVerb(handler.Get(), 0));
    const std::string line = recorder.Wait(20000);
    EXPECT_NE(std::string::npos, line.find(Utf8(program))) << line;
    EXPECT_EQ(" -ffsettings", line.substr(line.size() - 12)) << line;
    DeleteFileW(program.c_str());
}

} // namespace
