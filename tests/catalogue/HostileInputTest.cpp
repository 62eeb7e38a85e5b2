#include "tests/catalogue/CatalogueFixture.h"
#include "catalogue/CommandProperties.h"
#include "catalogue/Commands.h"
#include "framework/FileError.h"
#include "tests/support/LinkReader.h"

namespace {

std::string LongTarget(size_t length)
{
    std::string target = "C:\\";
    while (target.size() < length)
        target += 'a';
    return target;
}

TEST_F(CatalogueTest, LongTargetsAreStoredWholeOrRefusedNeverCut)
{
    for (size_t length : {259u, 260u, 2000u}) {
        boxes.Clear();
        const std::string name = "t" + std::to_string(length);
        const std::string target = LongTarget(length);
        const bool created = CreateCommand(name, target, "", 1);
        if (length <= 259) {
            ASSERT_TRUE(created);
            LinkFields link;
            ASSERT_TRUE(ReadLink(Link(name), link));
            EXPECT_EQ(target, link.path);
            EXPECT_EQ(name + "\r\n" + target + "\r\n\r\n1\r\n", ReadFileBytes(Cfg(name)));
        } else {
            // A link cannot hold it: the shortcut step fails with its message
            // and no half-true link or properties file is left.
            EXPECT_FALSE(created);
            EXPECT_EQ(Texts({"Couldn\xB4t create shortcut!"}), boxes.Texts());
            EXPECT_FALSE(FileExists(Link(name)));
            EXPECT_FALSE(FileExists(Cfg(name)));
        }
    }
}

TEST_F(CatalogueTest, LongAndHighByteParametersRoundTrip)
{
    for (size_t length : {259u, 260u, 2000u}) {
        std::string parameters(length, 'p');
        parameters[1] = '\xE9';
        parameters[2] = '\xB4';
        const std::string name = "p" + std::to_string(length);
        ASSERT_TRUE(CreateCommand(name, "C:\\edit.exe", parameters, 1)) << length;
        LinkFields link;
        ASSERT_TRUE(ReadLink(Link(name), link));
        EXPECT_EQ(parameters, link.arguments);
        std::vector<std::string> lines;
        EXPECT_EQ(4u, ReadPropertiesLines(Cfg(name), 4, lines));
        EXPECT_EQ(parameters, lines[2]);
    }
}

TEST_F(CatalogueTest, PropertiesReaderSurvivesOddFiles)
{
    std::vector<std::string> lines;
    WriteFileBytes(Cfg("nul"), std::string("n\0ul\r\nC:\\a\0b\r\n\r\n3\r\n", 18));
    ASSERT_EQ(4u, ReadPropertiesLines(Cfg("nul"), 4, lines));
    EXPECT_EQ(std::string("n\0ul", 4), lines[0]);
    EXPECT_EQ(std::string("C:\\a\0b", 6), lines[1]);

    WriteFileBytes(Cfg("cr"), "cr\rC:\\x\r\r7");
    ASSERT_EQ(4u, ReadPropertiesLines(Cfg("cr"), 4, lines));
    EXPECT_EQ((std::vector<std::string>{"cr", "C:\\x", "", "7"}), lines);

    WriteFileBytes(Cfg("two"), "two\r\nC:\\x\r\n");
    EXPECT_EQ(2u, ReadPropertiesLines(Cfg("two"), 4, lines));

    const std::string longest(kMaxPropertiesLine, 'h');
    WriteFileBytes(Cfg("long"), longest + "\r\nC:\\x\r\n\r\n1\r\n");
    ASSERT_EQ(3u, ReadPropertiesLines(Cfg("long"), 3, lines));
    EXPECT_EQ(longest, lines[0]);
    EXPECT_EQ("", lines[2]);
    // One byte more than any command holds: the file is unreadable.
    WriteFileBytes(Cfg("huge"), longest + "h\r\nC:\\x\r\n\r\n1\r\n");
    try {
        ReadPropertiesLines(Cfg("huge"), 3, lines);
        ADD_FAILURE() << "no file error";
    } catch (const CFileError& error) {
        EXPECT_EQ(CFileError::lineTooLong, error.GetCause());
    }

    try {
        ReadPropertiesLines(Cfg("missing"), 4, lines);
        ADD_FAILURE() << "no file error";
    } catch (const CFileError& error) {
        EXPECT_EQ(CFileError::fileNotFound, error.GetCause());
        EXPECT_EQ(Cfg("missing") + " was not found.", error.GetMessageText());
    }
}

} // namespace
