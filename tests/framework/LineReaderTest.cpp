#include "framework/LineReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Feeds the reader from a string in chunks of `chunk` bytes, so line breaks
// fall on buffer boundaries too.
std::vector<std::string> ReadAll(const std::string& input, size_t chunk = CLineReader::kBufferSize)
{
    size_t at = 0;
    CLineReader reader([&](char* buffer, size_t size) {
        const size_t n = std::min({size, chunk, input.size() - at});
        input.copy(buffer, n, at);
        at += n;
        return n;
    });
    std::vector<std::string> lines;
    std::string line;
    while (reader.ReadLine(line))
        lines.push_back(line);
    return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, EachBreakFormEndsOneLineAndKeepsEveryOtherByte)
{
    EXPECT_EQ(Lines({"a", "b", "c", "d"}), ReadAll("a\r\nb\nc\rd"));
    // A lone CR must not swallow the first character of the next line.
    EXPECT_EQ(Lines({"notes", "C:\\x", "", "3"}), ReadAll("notes\rC:\\x\r\r3\r"));
    EXPECT_EQ(Lines({"", "", ""}), ReadAll("\r\n\n\r"));
    EXPECT_EQ(Lines({"x", ""}), ReadAll("x\n\r\n"));
}

TEST(LineReader, EndOfInputBeforeAnyCharacterIsTheOnlyFailure)
{
    EXPECT_EQ(Lines(), ReadAll(""));
    EXPECT_EQ(Lines({"last"}), ReadAll("last"));
    EXPECT_EQ(Lines({"a", "b"}), ReadAll("a\r\nb"));
    EXPECT_EQ(Lines({"a"}), ReadAll("a\r\n"));
}

TEST(LineReader, NulBytesAndHighBytesStayInTheText)
{
    const std::string withNul("a\0b\xB4\xFF", 5);
    EXPECT_EQ(Lines({withNul, "z"}), ReadAll(withNul + "\r\nz"));
}

TEST(LineReader, BreaksOnBufferBoundariesAndVeryLongLines)
{
    for (size_t chunk : {1u, 2u, 3u, 7u}) {
        EXPECT_EQ(Lines({"ab", "cd", "", "e"}), ReadAll("ab\r\ncd\r\re", chunk)) << chunk;
    }
    const std::string longLine(100000, 'x');
    const Lines lines = ReadAll(longLine + "\r\nnext\r\n");
    ASSERT_EQ(2u, lines.size());
    EXPECT_EQ(longLine, lines[0]);
    EXPECT_EQ("next", lines[1]);
    // A CR as the last byte of one buffer and LF as the first of the next.
    const std::string split = std::string(CLineReader::kBufferSize - 1, 'y') + "\r\nz";
    EXPECT_EQ(Lines({std::string(CLineReader::kBufferSize - 1, 'y'), "z"}), ReadAll(split));
}

TEST(LineReader, ALineOverTheLimitStopsTheReaderWithoutHoldingIt)
{
    const std::string input = "abc\r\n" + std::string(10, 'x') + "\r\n" + std::string(11, 'y') + "\r\nlast";
    size_t at = 0;
    CLineReader reader(
        [&](char* buffer, size_t size) {
            const size_t n = std::min(size, input.size() - at);
            input.copy(buffer, n, at);
            at += n;
            return n;
        },
        10);
    std::string line;
    EXPECT_TRUE(reader.ReadLine(line));
    EXPECT_TRUE(reader.ReadLine(line)); // exactly the limit
    EXPECT_EQ(std::string(10, 'x'), line);
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_TRUE(reader.TooLong());
    EXPECT_EQ("", line);
    EXPECT_FALSE(reader.ReadLine(line)); // stopped for good
}

} // namespace
