#include "catalogue/CommandLimits.h"
#include "catalogue/PropertiesCodec.h"
#include "catalogue/PropertiesFormat.h"
#include "framework/CodePage.h"
#include "framework/Windows1252.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

// UTF-8 literals below; ANSI bytes are spelled as escapes.
namespace {

using Lines = std::vector<std::string>;

const CodePageConverter& Table()
{
    static const CodePageConverter table = Windows1252Converter();
    return table;
}

DecodedProperties Decode(const std::string& file, size_t count = 4, const CodePageConverter& codePage = Table())
{
    return DecodeProperties([&file, at = size_t{0}](char* buffer, size_t room) mutable {
        const size_t n = std::min(room, file.size() - at);
        file.copy(buffer, n, at);
        at += n;
        return n;
    }, count, codePage);
}

TEST(PropertiesCodec, AnsiCommandsKeepTodaysFileOthersGoUtf8AndBack)
{
    const std::string todays = FormatPropertiesText("notes", "C:\\Tools\\\xE9" "dit.exe", "Couldn\xB4t /n", 3);
    const EncodedProperties ansi = EncodeCommandProperties("notes", "C:\\Tools\\édit.exe", "Couldn´t /n", 3, Table());
    EXPECT_EQ(PropertiesForm::ansi, ansi.form);
    EXPECT_EQ(todays, ansi.bytes);

    for (const std::string text : {"ł", "名", "😀", "C:\\Инструменты"}) {
        const EncodedProperties utf8 = EncodeCommandProperties("notes", "C:\\Tools\\édit.exe", text, 3, Table());
        EXPECT_EQ(PropertiesForm::utf8, utf8.form) << text;
        EXPECT_EQ("\xEF\xBB\xBF" "notes\r\nC:\\Tools\\édit.exe\r\n" + text + "\r\n3\r\n", utf8.bytes);
        const DecodedProperties read = Decode(utf8.bytes);
        EXPECT_EQ(PropertiesForm::utf8, read.form);
        EXPECT_EQ((Lines{"notes", "C:\\Tools\\édit.exe", text, "3"}), read.lines);
    }
    // Edited back to text the code page holds: the old form again.
    EXPECT_EQ(todays, EncodeCommandProperties("notes", "C:\\Tools\\édit.exe", "Couldn´t /n", 3, Table()).bytes);
    // Text that would start as the mark does is not left for it to be taken as one.
    EXPECT_EQ(PropertiesForm::utf8, EncodeProperties({"ï»¿x"}, Table()).form);
    EXPECT_EQ((Lines{"ï»¿x"}), Decode(EncodeProperties({"ï»¿x"}, Table()).bytes).lines);
}

TEST(PropertiesCodec, LegacyFilesReadAsBefore)
{
    DecodedProperties read = Decode("notes\r\nC:\\Caf\xE9\r\nCouldn\xB4t\r\n3\r\n");
    EXPECT_EQ(PropertiesForm::ansi, read.form);
    EXPECT_EQ(PropertiesProblem::none, read.problem);
    EXPECT_EQ((Lines{"notes", "C:\\Café", "Couldn´t", "3"}), read.lines);

    // Every byte but the breaks and zero reads as one character and is
    // written back as that byte.
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        if (byte != '\r' && byte != '\n')
            all.push_back(static_cast<char>(byte));
    }
    read = Decode(all);
    ASSERT_EQ(1u, read.lines.size());
    EXPECT_EQ("€\xC2\x81‚ƒ", read.lines[0].substr(127 - 2, 10)); // 0x80 to 0x83 after 0x7F
    EXPECT_EQ(all + "\r\n", EncodeProperties(read.lines, Table()).bytes);

    EXPECT_EQ((Lines{"cr", "C:\\x", "", "7"}), Decode("cr\rC:\\x\r\r7").lines);
    read = Decode("two\r\nC:\\x\r\n");
    EXPECT_EQ(PropertiesProblem::none, read.problem);
    EXPECT_EQ((Lines{"two", "C:\\x"}), read.lines);

    const std::string longest(kMaxPropertiesLine, 'h');
    EXPECT_EQ(longest, Decode(longest + "\r\n").lines.at(0));
    read = Decode("n\r\n" + longest + "h\r\n");
    EXPECT_EQ(PropertiesProblem::lineTooLong, read.problem);
    EXPECT_EQ("Line 2 is longer than 65536 bytes.", read.reason);
}

TEST(PropertiesCodec, LongestFieldsInUtf8ReadBack)
{
    std::string parameters;
    for (size_t i = 0; i < kMaxCommandParameters; ++i)
        parameters += "名";
    const EncodedProperties encoded = EncodeCommandProperties("n", "C:\\x", parameters, 1, Table());
    ASSERT_EQ(PropertiesForm::utf8, encoded.form);
    EXPECT_EQ(parameters, Decode(encoded.bytes).lines.at(2));
}

TEST(PropertiesCodec, UndecodableBytesAreRefusedNamingTheLine)
{
    const struct {
        std::string file;
        size_t line;
        std::string reason;
    } cases[] = {
        {"\xEF\xBB\xBFn\r\n\xFF\r\n", 2, "Line 2 is not valid UTF-8."},
        {"\xEF\xBB\xBFn\r\nx\r\n\xC0\xAF\r\n", 3, "Line 3 is not valid UTF-8."},     // overlong '/'
        {"\xEF\xBB\xBF\xED\xA0\x80\r\n", 1, "Line 1 is not valid UTF-8."},           // a surrogate
        {"\xEF\xBB\xBFn\r\n\xE5\x90", 2, "Line 2 is not valid UTF-8."},              // cut short
        {std::string("n\0ul\r\n", 6), 1, "Line 1 holds a zero character."},
        {std::string("\xEF\xBB\xBFok\r\nC:\\a\0b", 12), 2, "Line 2 holds a zero character."},
    };
    for (const auto& c : cases) {
        const DecodedProperties read = Decode(c.file);
        EXPECT_EQ(PropertiesProblem::undecodable, read.problem) << c.reason;
        EXPECT_EQ(c.line, read.problemLine);
        EXPECT_EQ(c.reason, read.reason);
        EXPECT_EQ(c.line - 1, read.lines.size());
    }
    // A byte the code page leaves unmapped (as a double-byte one may).
    const CodePageConverter strict{[](std::string_view ansi) -> std::optional<std::string> {
                                       if (ansi.find('\x81') != std::string_view::npos)
                                           return std::nullopt;
                                       return std::string(ansi);
                                   },
                                   Table().toAnsiExact};
    EXPECT_EQ("Line 2 holds bytes the code page cannot read.", Decode("n\r\n\x81\r\n", 4, strict).reason);
}

TEST(PropertiesCodec, LinesThatWouldNotReadBackAreNotWritten)
{
    const struct {
        std::string parameters;
        std::string problem;
    } cases[] = {
        {"a\r\nb", "Line 3 holds a line break."},
        {"a\rb", "Line 3 holds a line break."},
        {std::string("a\0b", 3), "Line 3 holds a zero character."},
        {"\xED\xA0\x80", "Line 3 is not valid UTF-8."},
        {"\xE9", "Line 3 is not valid UTF-8."},
    };
    for (const auto& c : cases) {
        const EncodedProperties encoded = EncodeCommandProperties("n", "C:\\x", c.parameters, 1, Table());
        EXPECT_EQ(c.problem, encoded.problem);
        EXPECT_TRUE(encoded.bytes.empty());
    }
}

TEST(AnsiCodePageConverter, MatchesTheWindows1252TableForEveryByte)
{
    if (GetACP() != 1252)
        GTEST_SKIP() << "the ANSI code page is " << GetACP();
    const CodePageConverter windows = AnsiCodePageConverter();
    for (int value = 0; value < 256; ++value) {
        const std::string byte(1, static_cast<char>(value));
        const std::optional<std::string> utf8 = Table().toUtf8(byte);
        ASSERT_TRUE(utf8) << value;
        EXPECT_EQ(utf8, windows.toUtf8(byte)) << value;
        const std::optional<std::string> back = value == 0 ? std::nullopt : std::optional(byte);
        EXPECT_EQ(back, Table().toAnsiExact(*utf8)) << value;
        EXPECT_EQ(back, windows.toAnsiExact(*utf8)) << value;
    }
    // No best fit (ł is never written as l) and no stand-in for what the code page lacks.
    for (const std::string text : {"ł", "名", "😀", "\xC2\x80", "\xED\xA0\x80"}) {
        EXPECT_EQ(std::nullopt, Table().toAnsiExact(text)) << text;
        EXPECT_EQ(std::nullopt, windows.toAnsiExact(text)) << text;
    }
}

} // namespace
