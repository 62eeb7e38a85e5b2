// Reads the built quillon.exe as data and checks its templates, menus,
// strings, version and manifest against what the program promises.
#include "app/AboutDlg.h"
#include "app/MainDlg.h"
#include "catalogue/NewCommandDlg.h"
#include "fastfolders/NewFastFolderDlg.h"
#include "framework/Handles.h"
#include "resources/ConfigurationIds.h"
#include "resources/FastFolderIds.h"
#include "resources/MainWindowIds.h"
#include "resources/NewCommandIds.h"
#include "resources/Texts.h"
#include "shellsettings/ConfigSheet.h"
#include "tests/app/TemplateTable.h"
#include "tests/support/ProgramResources.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <iterator>
#include <set>
#include <string>
#include <vector>

namespace {

// Class names compare without case; the predefined atoms by their names.
std::wstring ClassName(std::wstring name)
{
    static const wchar_t* const atoms[] = {L"BUTTON", L"EDIT", L"STATIC", L"LISTBOX", L"SCROLLBAR", L"COMBOBOX"};
    for (int atom = 0x80; atom <= 0x85; ++atom)
        if (name == L"#" + std::to_wstring(atom))
            return atoms[atom - 0x80];
    for (wchar_t& c : name)
        if (c >= L'a' && c <= L'z')
            c = static_cast<wchar_t>(c - L'a' + L'A');
    return name;
}

struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    std::wstring windowClass; // a name, or "#<atom>"
    std::wstring text;        // a text, or "#<resource id>"
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::wstring menu, caption, font;
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
    std::wstring Sz()
    {
        std::wstring text;
        for (WORD c = Word(); c != 0 && m_at <= m_size; c = Word())
            text.push_back(static_cast<wchar_t>(c));
        return text;
    }
    std::wstring SzOrOrd()
    {
        WORD first = 0;
        if (m_at + 2 <= m_size)
            std::memcpy(&first, m_data + m_at, 2);
        if (first == 0xFFFF) {
            m_at += 2;
            return L"#" + std::to_wstring(Word());
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
        m_module = LoadProgramAsData();
        ASSERT_TRUE(m_module);
    }

    HMODULE Module() const { return m_module.Get(); }

    std::string Raw(LPCWSTR type, UINT id) const
    {
        HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), type);
        if (!found)
            return {};
        HGLOBAL loaded = LoadResource(Module(), found);
        const char* bytes = static_cast<const char*>(LockResource(loaded));
        return std::string(bytes, SizeofResource(Module(), found));
    }

    DialogTemplate Dialog(UINT id) const
    {
        const std::string raw = Raw(MAKEINTRESOURCEW(5), id);
        DialogTemplate dlg;
        CTemplateReader reader(reinterpret_cast<const BYTE*>(raw.data()), raw.size());
        EXPECT_TRUE(reader.Read(dlg)) << "dialog " << id;
        return dlg;
    }

    // "text=id" per item, "-" for separators, popups as "text>" ... "<".
    static void ReadMenu(HMENU menu, std::vector<std::wstring>& out)
    {
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            wchar_t text[128] = {};
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID | MIIM_STRING | MIIM_SUBMENU | MIIM_FTYPE;
            info.dwTypeData = text;
            info.cch = static_cast<UINT>(std::size(text));
            GetMenuItemInfoW(menu, i, TRUE, &info);
            if (info.fType & MFT_SEPARATOR) {
                out.push_back(L"-");
            } else if (info.hSubMenu) {
                out.push_back(std::wstring(text) + L">");
                ReadMenu(info.hSubMenu, out);
                out.push_back(L"<");
            } else {
                out.push_back(std::wstring(text) + L"=" + std::to_wstring(info.wID));
            }
        }
    }

    std::vector<std::wstring> Menu(UINT id) const
    {
        CMenuHandle menu(LoadMenuW(Module(), MAKEINTRESOURCEW(id)));
        EXPECT_TRUE(menu) << "menu " << id;
        std::vector<std::wstring> out;
        if (menu)
            ReadMenu(menu.Get(), out);
        return out;
    }

    CLibraryHandle m_module;
};



// Every template against its row of the table, every control in template
// order; and every template of the program, listed there or not, in Tahoma 8.
TEST_F(ResourcesTest, TemplatesAreAsTheirTableSays)
{
    const std::vector<UINT> ids = DialogTemplateIds(Module());
    EXPECT_GE(ids.size(), std::size(kTemplateFrames));
    for (UINT id : ids) {
        const DialogTemplate dlg = Dialog(id);
        EXPECT_EQ(L"Tahoma", dlg.font) << id;
        EXPECT_EQ(8, dlg.pointSize) << id;
    }

    for (const TemplateFrame& frame : kTemplateFrames) {
        SCOPED_TRACE(frame.id);
        const DialogTemplate dlg = Dialog(frame.id);
        EXPECT_EQ(frame.cx, dlg.cx);
        EXPECT_EQ(frame.cy, dlg.cy);
        EXPECT_EQ(frame.caption, dlg.caption);
        EXPECT_EQ(frame.menu, dlg.menu);
        EXPECT_EQ(frame.style, dlg.style & (frame.style | frame.without));
        EXPECT_EQ(frame.exStyle, dlg.exStyle & frame.exStyle);

        size_t at = 0;
        for (const TemplateControl& row : kTemplateControls) {
            if (row.dialog != frame.id)
                continue;
            ASSERT_LT(at, dlg.items.size()) << "missing control " << row.id;
            const DialogItem& item = dlg.items[at++];
            SCOPED_TRACE(row.id);
            EXPECT_EQ(row.id, item.id);
            EXPECT_EQ(ClassName(row.windowClass), ClassName(item.windowClass));
            EXPECT_EQ(row.text, item.text);
            EXPECT_EQ((std::vector<int>{row.x, row.y, row.cx, row.cy}),
                      (std::vector<int>{item.x, item.y, item.cx, item.cy}));
            const std::wstring cls = ClassName(item.windowClass);
            const DWORD kind = cls == L"BUTTON" ? BS_TYPEMASK : cls == L"STATIC" ? SS_TYPEMASK : 0;
            EXPECT_EQ(row.style & kind, item.style & kind);
            EXPECT_EQ(row.style, item.style & row.style);
            EXPECT_EQ(row.shown, (item.style & WS_VISIBLE) != 0);
        }
        EXPECT_EQ(at, dlg.items.size()) << "controls the table does not list";
    }
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
        CMenuHandle menu(LoadMenuW(Module(), MAKEINTRESOURCEW(id)));
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
        {"fast folders page", CConfigTab2::StaticRoutes(), {IDD_CONFIG_CONTEXT_MENU, IDD_CONFIG_FAST_FOLDERS}},
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
    using M = std::vector<std::wstring>;
    EXPECT_EQ((M{L"File>", L"New Command...=133", L"Add Fast Folder...=134", L"-", L"Export...=340",
                 L"Import...=341", L"-", L"Exit=135", L"<",
                 L"Options>", L"Configuration...=199", L"Restart as administrator=198", L"<",
                 L"Help>", L"Help=201", L"Tech Support...=227", L"Home Page...=334", L"-", L"About...=200", L"<"}),
              Menu(IDR_MAIN_MENU));
    EXPECT_EQ((M{L"Commands>", L"Edit...=170", L"Security=224", L"Delete=172", L"-", L"New Command=171", L"<"}),
              Menu(IDR_COMMAND_MENU));
    EXPECT_EQ((M{L"Fast Folders>", L"Edit...=195", L"Delete=196", L"-", L"Add Folder=197", L"<"}), Menu(IDR_FOLDER_MENU));
    EXPECT_EQ((M{L"System>", L"Reload=213", L"-", L"Delete=226", L"Restore deleted...=350", L"-",
                 L"Remove broken entries...=351", L"<"}),
              Menu(IDR_SYSTEM_MENU));
}

// The string table as the program loads it, U+00B4 apostrophe included.
TEST_F(ResourcesTest, StringTableHoldsTheTextsExactly)
{
    auto text = [&](UINT id) {
        wchar_t buffer[512] = {};
        const int n = LoadStringW(Module(), id, buffer, static_cast<int>(std::size(buffer)));
        return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
    };
    EXPECT_EQ(L"Couldn\u00B4t access the registry, make sure you have administrator rights!", text(102));
    EXPECT_EQ(L"Do you want to delete the command:", text(105));
    EXPECT_EQ(L"Couldn\u00B4t delete command!", text(106));
    EXPECT_EQ(L"This is a system command, created by other applications than Verbosa!\n"
              L"Are you absolutely sure you want to delete it?", text(103));
    EXPECT_EQ(L"Illegal characters in command name!", text(333));
    for (UINT id : {1u, 102u, 103u, 104u, 105u, 106u, 107u, 108u, 109u, 110u, 111u, 112u, 113u, 114u, 211u, 333u})
        EXPECT_FALSE(text(id).empty()) << id;
}

TEST_F(ResourcesTest, PicturesVersionAndManifest)
{
    for (UINT id : {160u, 161u, 165u, 166u, 326u, 329u, 332u}) {
        CIconHandle icon(static_cast<HICON>(LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)));
        EXPECT_TRUE(icon) << "icon " << id;
    }
    for (UINT id : {294u, 310u, 315u, 316u, 321u}) {
        CBitmapHandle bitmap(LoadBitmapW(Module(), MAKEINTRESOURCEW(id)));
        ASSERT_TRUE(bitmap) << "bitmap " << id;
        BITMAP info{};
        GetObjectW(bitmap.Get(), sizeof(info), &info);
        EXPECT_EQ(16, info.bmWidth) << id;
        EXPECT_EQ(16, info.bmHeight) << id;
    }
    EXPECT_TRUE(CBitmapHandle(LoadBitmapW(Module(), MAKEINTRESOURCEW(258))));

    const std::string version = Raw(MAKEINTRESOURCEW(16), 1);
    ASSERT_GE(version.size(), 40u + 8u);
    const size_t at = version.find("\xBD\x04\xEF\xFE"); // VS_FIXEDFILEINFO signature
    ASSERT_NE(std::string::npos, at);
    VS_FIXEDFILEINFO fixed{};
    std::memcpy(&fixed, version.data() + at, sizeof(fixed));
    EXPECT_EQ(DWORD(0x00030000), fixed.dwFileVersionMS);
    EXPECT_EQ(DWORD(0x00000002), fixed.dwFileVersionLS);
    EXPECT_EQ(DWORD(0x00030000), fixed.dwProductVersionMS);
    EXPECT_EQ(DWORD(0x00000002), fixed.dwProductVersionLS);

    const std::string manifest = Raw(MAKEINTRESOURCEW(24), 1);
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
