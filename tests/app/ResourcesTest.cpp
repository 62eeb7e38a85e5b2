// Reads the built quillon.exe as data and checks its templates, menus,
// strings, version and manifest against what the program promises.
#include "app/AboutDlg.h"
#include "app/MainDlg.h"
#include "catalogue/NewCommandDlg.h"
#include "fastfolders/NewFastFolderDlg.h"
#include "framework/AppInfo.h"
#include "framework/Handles.h"
#include "resources/ConfigurationIds.h"
#include "resources/FastFolderIds.h"
#include "resources/MainWindowIds.h"
#include "resources/NewCommandIds.h"
#include "resources/Texts.h"
#include "shellsettings/ConfigSheet.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr const char* kButton = "#128";
constexpr const char* kStatic = "#130";

// Class names compare without case; the predefined atoms by their names.
std::string ClassName(std::string name)
{
    if (name == kButton)
        return "BUTTON";
    if (name == kStatic)
        return "STATIC";
    for (char& c : name)
        c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    return name;
}

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::string windowClass; // a name, or "#<atom>"
    std::string text;        // a text, or "#<resource id>"
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, caption, font;
    WORD pointSize = 0;
    std::vector<DialogItem> items;
    const DialogItem* Item(int id) const
    {
        for (const auto& item : items)
            if (item.id == id)
                return &item;
        return nullptr;
    }
};

// Reads DLGTEMPLATEEX (windres writes DIALOGEX in that form).
class CTemplateReader {
public:
    CTemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

    bool Read(DialogTemplate& dlg)
    {
        if (Word() != 1 || Word() != 0xFFFF)
            return false;
        Dword(); // help id
        dlg.exStyle = Dword();
        dlg.style = Dword();
        const WORD count = Word();
        dlg.x = Short(); dlg.y = Short(); dlg.cx = Short(); dlg.cy = Short();
        dlg.menu = SzOrOrd();
        SzOrOrd(); // class
        dlg.caption = Sz();
        if (dlg.style & DS_SETFONT) {
            dlg.pointSize = Word();
            Word(); // weight
            m_at += 2; // italic, charset
            dlg.font = Sz();
        }
        for (WORD i = 0; i < count && m_at < m_size; ++i) {
            m_at = (m_at + 3) & ~size_t(3);
            DialogItem item;
            Dword(); // help id
            item.exStyle = Dword();
            item.style = Dword();
            item.x = Short(); item.y = Short(); item.cx = Short(); item.cy = Short();
            item.id = static_cast<int>(Dword());
            item.windowClass = SzOrOrd();
            item.text = SzOrOrd();
            m_at += Word(); // creation data
            dlg.items.push_back(item);
        }
        return m_at <= m_size;
    }

private:
    WORD Word()
    {
        WORD w = 0;
        if (m_at + 2 <= m_size)
            std::memcpy(&w, m_data + m_at, 2);
        m_at += 2;
        return w;
    }
    short Short() { return static_cast<short>(Word()); }
    DWORD Dword()
    {
        const DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    std::string Sz()
    {
        std::wstring text;
        for (WORD c = Word(); c != 0 && m_at <= m_size; c = Word())
            text.push_back(static_cast<wchar_t>(c));
        std::string out(text.size() * 2 + 1, '\0');
        const int n = WideCharToMultiByte(1252, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                          static_cast<int>(out.size()), nullptr, nullptr);
        out.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return out;
    }
    std::string SzOrOrd()
    {
        WORD first = 0;
        if (m_at + 2 <= m_size)
            std::memcpy(&first, m_data + m_at, 2);
        if (first == 0xFFFF) {
            m_at += 2;
            return "#" + std::to_string(Word());
        }
        return Sz();
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_at = 0;
};

class ResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string self = GetModulePath();
        const std::string exe = self.substr(0, self.find_last_of('\\')) + "\\quillon.exe";
        m_module.Reset(LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
        ASSERT_TRUE(m_module) << exe;
    }

    HMODULE Module() const { return m_module.Get(); }

    std::string Raw(LPCSTR type, UINT id) const
    {
        HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), type);
        if (!found)
            return {};
        HGLOBAL loaded = LoadResource(Module(), found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return std::string(bytes, SizeofResource(Module(), found));
    }

    DialogTemplate Dialog(UINT id) const
    {
        const std::string raw = Raw(MAKEINTRESOURCEA(5), id);
        DialogTemplate dlg;
        CTemplateReader reader(reinterpret_cast<const BYTE*>(raw.data()), raw.size());
        EXPECT_TRUE(reader.Read(dlg)) << "dialog " << id;
        return dlg;
    }

    // "text=id" per item, "-" for separators, popups as "text>" ... "<".
    static void ReadMenu(HMENU menu, std::vector<std::string>& out)
    {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[128] = {};
            MENUITEMINFOA info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE;
            info.dwTypeData = text;
            info.cch = sizeof(text);
            GetMenuItemInfoA(menu, i, TRUE, &info);
            if (info.fType & MFT_SEPARATOR) {
                out.push_back("-");
            } else if (info.hSubMenu) {
                out.push_back(std::string(text) + ">");
                ReadMenu(info.hSubMenu, out);
                out.push_back("<");
            } else {
                out.push_back(std::string(text) + "=" + std::to_string(info.wID));
            }
        }
    }

    std::vector<std::string> Menu(UINT id) const
    {
        CMenuHandle menu(LoadMenuA(Module(), MAKEINTRESOURCEA(id)));
        EXPECT_TRUE(menu) << "menu " << id;
        std::vector<std::string> out;
        if (menu)
            ReadMenu(menu.Get(), out);
        return out;
    }

    static void ExpectItem(const DialogTemplate& dlg, int id, const char* cls, const std::string& text,
                           RECT rect, DWORD style, bool visible)
    {
        const DialogItem* item = dlg.Item(id);
        ASSERT_NE(nullptr, item) << id;
        EXPECT_EQ(ClassName(cls), ClassName(item->windowClass)) << id;
        EXPECT_EQ(text, item->text) << id;
        EXPECT_EQ(rect.left, item->x) << id;
        EXPECT_EQ(rect.top, item->y) << id;
        EXPECT_EQ(rect.right, item->cx) << id;
        EXPECT_EQ(rect.bottom, item->cy) << id;
        EXPECT_EQ(style, item->style & style) << id;
        EXPECT_EQ(visible, (item->style & WS_VISIBLE) != 0) << id;
    }

    CLibraryHandle m_module;
};



TEST_F(ResourcesTest, MainWindowTemplate)
{
    const DialogTemplate dlg = Dialog(IDD_MAIN);
    EXPECT_EQ(516, dlg.cx);
    EXPECT_EQ(291, dlg.cy);
    EXPECT_EQ("Verbosa", dlg.caption);
    EXPECT_EQ("#132", dlg.menu);
    EXPECT_EQ("Tahoma", dlg.font);
    EXPECT_EQ(8, dlg.pointSize);
    const DWORD style = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(style, dlg.style & style);
    EXPECT_EQ(DWORD(WS_EX_APPWINDOW), dlg.exStyle & WS_EX_APPWINDOW);
    EXPECT_EQ(9u, dlg.items.size());

    const DWORD list = LVS_REPORT | LVS_SINGLESEL | LVS_ALIGNLEFT | WS_BORDER;
    ExpectItem(dlg, 1011, "SysTreeView32", "", {4, 5, 86, 259}, TVS_HASLINES | TVS_NOSCROLL | WS_BORDER | WS_TABSTOP, true);
    ExpectItem(dlg, 1000, "SysListView32", "", {94, 5, 418, 248}, list, true);
    ExpectItem(dlg, 1001, kButton, "New Command", {373, 269, 66, 16}, 0, true);
    ExpectItem(dlg, 1002, kButton, "Delete Command", {443, 269, 66, 16}, 0, true);
    ExpectItem(dlg, 1003, "SysListView32", "", {94, 5, 418, 258}, list, false);
    ExpectItem(dlg, 1004, kButton, "Add Folder", {225, 275, 66, 16}, 0, false);
    ExpectItem(dlg, 1005, kButton, "Remove Folder", {295, 275, 66, 16}, 0, false);
    ExpectItem(dlg, 1006, "SysListView32", "", {94, 5, 418, 236}, list, false);
    ExpectItem(dlg, 1039, "msctls_progress32", "", {6, 271, 83, 10}, WS_BORDER, false);
    for (const DialogItem& item : dlg.items)
        EXPECT_NE(DWORD(BS_DEFPUSHBUTTON), item.style & BS_TYPEMASK) << "no default button: " << item.id;
}

TEST_F(ResourcesTest, AboutTemplate)
{
    const DialogTemplate dlg = Dialog(IDD_ABOUT);
    EXPECT_EQ(236, dlg.cx);
    EXPECT_EQ(167, dlg.cy);
    EXPECT_EQ("Tahoma", dlg.font);
    EXPECT_EQ(DWORD(WS_POPUP | WS_BORDER | WS_SYSMENU), dlg.style & (WS_POPUP | WS_BORDER | WS_SYSMENU));
    EXPECT_NE(DWORD(WS_CAPTION), dlg.style & WS_CAPTION); // no caption bar
    ExpectItem(dlg, 1042, kStatic, "#258", {0, 0, 260, 27}, SS_BITMAP, true);
    ExpectItem(dlg, 1043, kStatic, "Verbosa 3.0        [3.0.0.2]", {26, 50, 188, 8}, SS_NOPREFIX, true);
    ExpectItem(dlg, 1044, kStatic, TXT_SUPPORT_MAIL, {26, 111, 54, 8}, 0, true);
    ExpectItem(dlg, 1045, kStatic, TXT_HOME_PAGE_SHOWN, {26, 121, 53, 8}, 0, true);
    ExpectItem(dlg, 1046, kStatic, "#326", {79, 111, 20, 20}, SS_ICON, false);
    ExpectItem(dlg, 1047, kStatic, "#329", {80, 122, 20, 20}, SS_ICON, false);
    ExpectItem(dlg, IDOK, kButton, "OK", {177, 146, 45, 14}, BS_DEFPUSHBUTTON, true);
    std::vector<std::string> groups;
    for (const DialogItem& item : dlg.items)
        if ((item.style & BS_TYPEMASK) == BS_GROUPBOX && ClassName(item.windowClass) == "BUTTON")
            groups.push_back(item.text + "@" + std::to_string(item.x) + "," + std::to_string(item.y) + "," +
                             std::to_string(item.cx) + "," + std::to_string(item.cy));
    EXPECT_EQ((std::vector<std::string>{" About @7,33,222,56", " Contact @7,94,222,48"}), groups);
}

// Every id of every item of a menu, submenus included.
void CollectMenuIds(HMENU menu, std::set<UINT>& ids)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            CollectMenuIds(sub, ids);
        else
            ids.insert(GetMenuItemID(menu, i));
    }
}

TEST_F(ResourcesTest, EveryRoutedIdExistsInItsTemplateOrAMenu)
{
    std::set<UINT> menuIds;
    for (UINT id : {IDR_MAIN_MENU, IDR_COMMAND_MENU, IDR_FOLDER_MENU, IDR_SYSTEM_MENU, IDR_BROWSE_MENU}) {
        CMenuHandle menu(LoadMenuA(Module(), MAKEINTRESOURCEA(id)));
        ASSERT_TRUE(menu) << id;
        CollectMenuIds(menu.Get(), menuIds);
    }
    menuIds.insert(ID_HELP_FRAMEWORK); // sent by no menu: the framework's own help command
    struct Window {
        const char* name;
        const CRouteTable* routes;
        std::vector<UINT> templates; // a shared page class routes the ids of both
    };
    const Window windows[] = {
        {"main", CMainDlg::StaticRoutes(), {IDD_MAIN}},
        {"command editor", CNewCommandDlg::StaticRoutes(), {IDD_NEW_COMMAND}},
        {"folder editor", CNewFastFolderDlg::StaticRoutes(), {IDD_FAST_FOLDER}},
        {"about", CAboutDlg::StaticRoutes(), {IDD_ABOUT}},
        {"choice pages", CConfigChoicePage::StaticRoutes(), {IDD_CONFIG_CONTEXT_MENU, IDD_CONFIG_FAST_FOLDERS}},
    };
    for (const Window& window : windows) {
        std::set<UINT> controls;
        for (UINT id : window.templates)
            for (const DialogItem& item : Dialog(id).items)
                controls.insert(static_cast<UINT>(item.id));
        for (const CRouteTable* table = window.routes; table; table = table->base) {
            for (size_t i = 0; i < table->count; ++i) {
                const RouteEntry& route = table->entries[i];
                if (route.kind == RouteKind::control || route.kind == RouteKind::notify) {
                    EXPECT_TRUE(controls.count(route.firstId)) << window.name << ": control " << route.firstId;
                } else if (route.kind == RouteKind::command) {
                    EXPECT_TRUE(controls.count(route.firstId) || menuIds.count(route.firstId))
                        << window.name << ": command " << route.firstId;
                }
            }
        }
    }
}

TEST_F(ResourcesTest, MenusWithTheirIdsAndTexts)
{
    using M = std::vector<std::string>;
    EXPECT_EQ((M{"File>", "New Command...=133", "Add Fast Folder...=134", "-", "Export...=340",
                 "Import...=341", "-", "Exit=135", "<",
                 "Options>", "Configuration...=199", "Restart as administrator=198", "<",
                 "Help>", "Help=201", "Tech Support...=227", "Home Page...=334", "-", "About...=200", "<"}),
              Menu(IDR_MAIN_MENU));
    EXPECT_EQ((M{"Commands>", "Edit...=170", "Security=224", "Delete=172", "-", "New Command=171", "<"}),
              Menu(IDR_COMMAND_MENU));
    EXPECT_EQ((M{"Fast Folders>", "Edit...=195", "Delete=196", "-", "Add Folder=197", "<"}), Menu(IDR_FOLDER_MENU));
    EXPECT_EQ((M{"System>", "Reload=213", "-", "Delete=226", "Restore deleted...=350", "<"}), Menu(IDR_SYSTEM_MENU));
}

TEST_F(ResourcesTest, StringTableInWindows1252)
{
    auto text = [&](UINT id) {
        char buffer[512] = {};
        const int n = LoadStringA(Module(), id, buffer, sizeof(buffer));
        return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    };
    EXPECT_EQ("Couldn\xB4t access the registry, make sure you have administrator rights!", text(102));
    EXPECT_EQ("Do you want to delete the command:", text(105));
    EXPECT_EQ("Couldn\xB4t delete command!", text(106));
    EXPECT_EQ("This is a system command, created by other applications than Verbosa!\n"
              "Are you absolutely sure you want to delete it?", text(103));
    EXPECT_EQ("Illegal characters in command name!", text(333));
    for (UINT id : {1u, 102u, 103u, 104u, 105u, 106u, 107u, 108u, 109u, 110u, 111u, 112u, 113u, 114u, 211u, 333u})
        EXPECT_FALSE(text(id).empty()) << id;
}

TEST_F(ResourcesTest, PicturesVersionAndManifest)
{
    for (UINT id : {160u, 161u, 165u, 166u, 326u, 329u, 332u}) {
        CIconHandle icon(static_cast<HICON>(LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_ICON, 16, 16, 0)));
        EXPECT_TRUE(icon) << "icon " << id;
    }
    for (UINT id : {294u, 310u, 315u, 316u, 321u}) {
        CBitmapHandle bitmap(LoadBitmapA(Module(), MAKEINTRESOURCEA(id)));
        ASSERT_TRUE(bitmap) << "bitmap " << id;
        BITMAP info{};
        GetObjectA(bitmap.Get(), sizeof(info), &info);
        EXPECT_EQ(16, info.bmWidth) << id;
        EXPECT_EQ(16, info.bmHeight) << id;
    }
    EXPECT_TRUE(CBitmapHandle(LoadBitmapA(Module(), MAKEINTRESOURCEA(258))));

    const std::string version = Raw(MAKEINTRESOURCEA(16), 1);
    ASSERT_GE(version.size(), 40u + 8u);
    const size_t at = version.find("\xBD\x04\xEF\xFE"); // VS_FIXEDFILEINFO signature
    ASSERT_NE(std::string::npos, at);
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, version.data() + at, sizeof(fixed));
    EXPECT_EQ(DWORD(0x00030000), fixed.dwFileVersionMS);
    EXPECT_EQ(DWORD(0x00000002), fixed.dwFileVersionLS);
    EXPECT_EQ(DWORD(0x00030000), fixed.dwProductVersionMS);
    EXPECT_EQ(DWORD(0x00000002), fixed.dwProductVersionLS);

    const std::string manifest = Raw(MAKEINTRESOURCEA(24), 1);
#ifdef _WIN64
    const std::string arch = "processorArchitecture=\"amd64\"";
#else
    const std::string arch = "processorArchitecture=\"x86\"";
#endif
    EXPECT_NE(std::string::npos, manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
    const size_t first = manifest.find(arch);
    ASSERT_NE(std::string::npos, first); // the program's identity
    EXPECT_NE(std::string::npos, manifest.find(arch, first + 1)); // the controls' assembly
    EXPECT_NE(std::string::npos, manifest.find("<requestedExecutionLevel level=\"asInvoker\""));
}

} // namespace
