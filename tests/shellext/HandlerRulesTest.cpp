// The handler's decision rules, called directly.
#include "shellext/HandlerRules.h"
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
    EXPECT_EQ(MenuCommand::Folder, ClassifyOffset(0, 3));
    EXPECT_EQ(MenuCommand::Folder, ClassifyOffset(2, 3));
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(3, 3));
    EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(4, 3));
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(0, 0));
    EXPECT_EQ(MenuCommand::Settings, ClassifyOffset(10, 10));
    EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(11, 10));
    EXPECT_EQ(MenuCommand::Invalid, ClassifyOffset(-1, 3));

    EXPECT_TRUE(CommandRangeFits(100, 103, 4));
    EXPECT_FALSE(CommandRangeFits(100, 102, 4));
    EXPECT_TRUE(CommandRangeFits(0xFFFF, 0xFFFF, 1));
    EXPECT_FALSE(CommandRangeFits(5, 4, 1));
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

    EXPECT_EQ(u"R&&D && more", MenuTextForAlias(u"R&D & more"));
    // A surrogate pair is two units that pass untouched.
    EXPECT_EQ(u"\U0001F4F7&&\u540D", MenuTextForAlias(u"\U0001F4F7&\u540D"));
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
