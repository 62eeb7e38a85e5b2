// The handler's decision rules, called directly.
#include "shellext/HandlerRules.h"
#include "shellext/OpenFolderRules.h"
#include "shellext/PictureDecoder.h"
#include "shellext/TextTools.h"
#include "shellext/WideText.h"

#include "tests/shellext/ShellExtFixture.h"

#include <shlobj.h>

#include <gtest/gtest.h>

namespace {

using namespace tesselator;

TEST(HandlerRules, NamesValuesAndClassifiesOffsets)
{
    EXPECT_EQ("0", AliasValueName(0));
    EXPECT_EQ("00", PathValueName(0));
    EXPECT_EQ("99", PathValueName(9));

    EXPECT_EQ(10, VerbOffset(10));
    EXPECT_EQ(-1, VerbOffset(0x10000));
    EXPECT_EQ(-1, VerbOffset(reinterpret_cast<UINT_PTR>("open")));

    // Three aliases: 0..2 open folders, 3 is "Settings...", the rest was
    // never handed out.
    const MenuLayout three{3, false};
    EXPECT_EQ(MenuCommand::Folder, ClassifyOffset(0, three).command);
    EXPECT_EQ(2, ClassifyOffset(2, three).index);
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(3, three).command);
    for (const int never : {-1, 4, 5, 14})
        EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(never, three).command) << never;
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(0, MenuLayout{0, false}).command);
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(10, MenuLayout{10, false}).command);
    EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(11, MenuLayout{10, false}).command);

    // With the nested submenu: Settings stays, 4 is the placeholder (no
    // command), 5..14 the ten open folders.
    const MenuLayout nested{3, true};
    EXPECT_EQ(15, nested.Used());
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(3, nested).command);
    EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(4, nested).command);
    EXPECT_EQ(MenuCommand::OpenFolder, ClassifyOffset(5, nested).command);
    EXPECT_EQ(0, ClassifyOffset(5, nested).index);
    EXPECT_EQ(9, ClassifyOffset(14, nested).index);
    EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(15, nested).command);
    EXPECT_EQ(MenuCommand::OpenFolder, ClassifyOffset(21, MenuLayout{10, true}).command);

    EXPECT_TRUE(CommandRangeFits(100, 103, 4));
    EXPECT_FALSE(CommandRangeFits(100, 102, 4));
    EXPECT_TRUE(CommandRangeFits(0xFFFF, 0xFFFF, 1));
    EXPECT_FALSE(CommandRangeFits(5, 4, 1));

    // A range too small for the nested submenu keeps the aliases.
    EXPECT_TRUE(PlanMenu(3, true, 100, 114)->openFolders);
    EXPECT_FALSE(PlanMenu(3, true, 100, 113)->openFolders);
    EXPECT_EQ(4, PlanMenu(3, true, 100, 103)->Used());
    EXPECT_FALSE(PlanMenu(3, true, 100, 102));
    EXPECT_FALSE(PlanMenu(3, false, 100, 0x7FFF)->openFolders);
}

TEST(HandlerRules, ListsEachOpenFolderOnceFrontMostFirst)
{
    const std::vector<WindowFolder> windows = {
        {u"C:\\Back", 5}, {u"", 0},             {u"C:\\Front", 1}, {u"c:\\FRONT\\", 3},
        {u"C:\\Own", 2},  {u"D:\\Unknown", -1}, {u"C:\\", 4},      {u"c:\\own\\", 6},
    };
    EXPECT_EQ((std::vector<std::u16string>{u"C:\\Front", u"C:\\", u"C:\\Back", u"D:\\Unknown"}),
              OpenFolderList(windows, u"c:\\OWN"));

    std::vector<WindowFolder> many;
    for (int i = 0; i < 14; ++i)
        many.push_back({u"C:\\F" + std::u16string(1, static_cast<char16_t>(u'a' + i)), 13 - i});
    const std::vector<std::u16string> list = OpenFolderList(many, u"");
    ASSERT_EQ(10u, list.size());
    EXPECT_EQ(u"C:\\Fn", list.front());
    EXPECT_EQ(u"C:\\Fe", list.back());
}

TEST(HandlerRules, KnowsTheWindowsThatBrowseInPlace)
{
    for (const char16_t* name : {u"ExploreWClass", u"CabinetWClass", u"IEFrame", u"CabinetWClassX"})
        EXPECT_EQ(BrowserWindow::Explorer, ClassifyBrowserWindow(name));
    for (const char16_t* name : {u"#32770", u"#32770x"})
        EXPECT_EQ(BrowserWindow::Dialog, ClassifyBrowserWindow(name));
    for (const char16_t* name : {u"", u"Progman", u"WorkerW", u"#3277", u"cabinetwclass", u"Shell_TrayWnd"})
        EXPECT_EQ(BrowserWindow::Other, ClassifyBrowserWindow(name));
}

TEST(HandlerRules, CopiesTextsWithinTheCallersBuffer)
{
    char narrow[8];
    std::fill(std::begin(narrow), std::end(narrow), 'x');
    CopyTruncated(std::string_view("Fast Folders"), narrow, 5);
    EXPECT_STREQ("Fast", narrow);
    EXPECT_EQ('x', narrow[5]);
    CopyTruncated(std::string_view("Fast"), narrow, 5);
    EXPECT_STREQ("Fast", narrow);
    CopyTruncated(std::string_view("Fast"), narrow, 0);
    EXPECT_STREQ("Fast", narrow);

    wchar_t wide[4] = {L'x', L'x', L'x', L'x'};
    CopyTruncated(std::wstring_view(L"Fast Folders"), wide, 3);
    EXPECT_STREQ(L"Fa", wide);
    EXPECT_EQ(L'x', wide[3]);

    EXPECT_TRUE(AsksForHelpText(GCS_HELPTEXTA));
    EXPECT_TRUE(AsksForHelpText(GCS_HELPTEXTW));
    EXPECT_FALSE(AsksForHelpText(GCS_VERBA));
    EXPECT_FALSE(AsksForHelpText(GCS_VALIDATEW));
    EXPECT_TRUE(AsksForUnicode(GCS_HELPTEXTW));
    EXPECT_FALSE(AsksForUnicode(GCS_HELPTEXTA));

    EXPECT_EQ(u"R&&D && more", MenuTextOf(u"R&D & more"));
    // A surrogate pair is two units that pass untouched.
    EXPECT_EQ(u"\U0001F4F7&&\u540D", MenuTextOf(u"\U0001F4F7&\u540D"));
}

TEST(TextTools, ConvertsWithoutGuessingAndReplacesExtensions)
{
    // The registrar's UTF-8 and the wide calls: any script both ways, and
    // what has no counterpart is refused, never turned into '?'.
    const std::wstring text = L"C:\\\u0418\u043D\\\u540D\\\U0001F4F7 o'\u0142";
    const std::optional<std::string> utf8 = WideToUtf8(text);
    ASSERT_TRUE(utf8);
    EXPECT_EQ(std::optional<std::wstring>(text), Utf8ToWide(*utf8));
    EXPECT_FALSE(WideToUtf8(std::wstring(L"a\xD800" L"b")));
    EXPECT_FALSE(Utf8ToWide("caf\xe9"));
    EXPECT_FALSE(Utf8ToWide("\xC0\xAF"));     // an overlong '/'
    EXPECT_FALSE(Utf8ToWide("\xED\xA0\x80")); // a surrogate in UTF-8

    EXPECT_EQ("C:\\a\\Tesselator.tlb", ReplaceExtension<char>("C:\\a\\Tesselator.dll", ".tlb"));
    EXPECT_EQ(L"C:\\\u540D.b\\Tesselator.tlb", ReplaceExtension<wchar_t>(L"C:\\\u540D.b\\Tesselator", L".tlb"));
}

TEST(PictureDecoder, DecodesTheLibrarysPicturesAndRefusesOtherFormats)
{
    const HMODULE module = Tesselator().module;
    ASSERT_TRUE(module);
    const auto resource = [&](int id) {
        const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP);
        const void* bits = found ? LockResource(LoadResource(module, found)) : nullptr;
        return std::string(static_cast<const char*>(bits), bits ? SizeofResource(module, found) : 0);
    };
    PicturePixels pixels = {};
    const std::string entry = resource(203);
    ASSERT_TRUE(DecodePicture(entry.data(), entry.size(), pixels));
    EXPECT_EQ(0xFFFFFFu, pixels[0]);            // white ground, top left
    EXPECT_EQ(0x800000u, pixels[2 * 16 + 7]);   // maroon outline at the arrow's top
    EXPECT_EQ(0xFF0000u, pixels[8 * 16 + 6]);   // red shaft
    for (const int id : {204, 206}) {
        const std::string picture = resource(id);
        ASSERT_TRUE(DecodePicture(picture.data(), picture.size(), pixels)) << id;
        EXPECT_EQ(0x008000u, pixels[7 * 16 + 6]) << id; // dark green
    }

    EXPECT_FALSE(DecodePicture(entry.data(), entry.size() - 1, pixels));
    EXPECT_FALSE(DecodePicture(entry.data(), 20, pixels));
    std::string eightBit = entry;
    eightBit[14] = 8; // biBitCount
    EXPECT_FALSE(DecodePicture(eightBit.data(), eightBit.size(), pixels));
}

} // namespace
