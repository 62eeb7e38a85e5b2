#include "tests/catalogue/CatalogueFixture.h"
#include "catalogue/CommandLimits.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/Commands.h"
#include "framework/FileError.h"
#include "tests/support/LinkReader.h"

namespace {

std::wstring LongTarget(size_t length)
{
    std::wstring target = L"C:\\";
    while (target.size() < length)
        target += L'a';
    return target;
}

TEST_F(CatalogueTest, LongTargetsAreStoredWholeOrRefusedNeverCut)
{
    for (size_t length : {259u, 260u, 2000u}) {
        boxes.Clear();
        const std::wstring name = L"t" + std::to_wstring(length);
        const std::wstring target = LongTarget(length);
        const bool created = CreateCommand(name, target, L"", 1);
        if (length <= 259) {
            ASSERT_TRUE(created);
            LinkFields link;
            ASSERT_TRUE(ReadLink(Link(name), link));
            EXPECT_EQ(target, link.path);
            EXPECT_EQ(AsciiProperties({name, target, L"", L"1"}), ReadFileBytes(Cfg(name)));
        } else {
            // A link cannot hold it: the shortcut step fails with its message
            // and no half-true link or properties file is left.
            EXPECT_FALSE(created);
            EXPECT_EQ(Texts({L"Couldn\xB4t create shortcut!"}), boxes.Texts());
            EXPECT_FALSE(FileExists(Link(name)));
            EXPECT_FALSE(FileExists(Cfg(name)));
        }
    }
}

TEST_F(CatalogueTest, LongAndHighByteParametersRoundTrip)
{
    for (size_t length : {259u, 260u, 2000u}) {
        std::wstring parameters(length, L'p');
        parameters[1] = L'\xE9';
        parameters[2] = L'\xB4';
        const std::wstring name = L"p" + std::to_wstring(length);
        ASSERT_TRUE(CreateCommand(name, L"C:\\edit.exe", parameters, 1)) << length;
        LinkFields link;
        ASSERT_TRUE(ReadLink(Link(name), link));
        EXPECT_EQ(parameters, link.arguments);
        std::vector<std::wstring> lines;
        EXPECT_EQ(4u, ReadPropertiesLines(Cfg(name), 4, lines));
        EXPECT_EQ(parameters, lines[2]);
    }
}

TEST_F(CatalogueTest, PropertiesReaderSurvivesOddFiles)
{
    std::vector<std::wstring> lines;
    // A zero character is no text: the file is refused, never cut short.
    WriteFileBytes(Cfg(L"nul"), std::string("n\0ul\r\nC:\\a\0b\r\n\r\n3\r\n", 18));
    try {
        ReadPropertiesLines(Cfg(L"nul"), 4, lines);
        ADD_FAILURE() << "no file error";
    } catch (const CFileError& error) {
        EXPECT_EQ(CFileError::notText, error.GetCause());
    }

    WriteFileBytes(Cfg(L"cr"), "cr\rC:\\x\r\r7");
    ASSERT_EQ(4u, ReadPropertiesLines(Cfg(L"cr"), 4, lines));
    EXPECT_EQ((std::vector<std::wstring>{L"cr", L"C:\\x", L"", L"7"}), lines);

    WriteFileBytes(Cfg(L"two"), "two\r\nC:\\x\r\n");
    EXPECT_EQ(2u, ReadPropertiesLines(Cfg(L"two"), 4, lines));

    const std::string longest(kMaxPropertiesLine, 'h');
    WriteFileBytes(Cfg(L"long"), longest + "\r\nC:\\x\r\n\r\n1\r\n");
    ASSERT_EQ(3u, ReadPropertiesLines(Cfg(L"long"), 3, lines));
    EXPECT_EQ(std::wstring(kMaxPropertiesLine, L'h'), lines[0]);
    EXPECT_EQ(L"", lines[2]);
    // One byte more than any command holds: the file is unreadable.
    WriteFileBytes(Cfg(L"huge"), longest + "h\r\nC:\\x\r\n\r\n1\r\n");
    try {
        ReadPropertiesLines(Cfg(L"huge"), 3, lines);
        ADD_FAILURE() << "no file error";
    } catch (const CFileError& error) {
        EXPECT_EQ(CFileError::lineTooLong, error.GetCause());
    }

    try {
        ReadPropertiesLines(Cfg(L"missing"), 4, lines);
        ADD_FAILURE() << "no file error";
    } catch (const CFileError& error) {
        EXPECT_EQ(CFileError::fileNotFound, error.GetCause());
        EXPECT_EQ(Cfg(L"missing") + L" was not found.", error.GetMessageText());
    }
}

} // namespace
