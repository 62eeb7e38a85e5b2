// CLineReader against a plain split of its input: each break form ends one
// line, no other byte is dropped, no line is longer than the limit, and a
// longer one stops the reader for good. The limit and the chunk sizes the
// source hands out come from the input.
#include "framework/LineReader.h"
#include "fuzz/Check.h"
#include "fuzz/StringSource.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

std::vector<std::string> SplitAtBreaks(const std::string& text)
{
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        lines.push_back(line);
        line.clear();
    }
    if (!line.empty())
        lines.push_back(line);
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);
    const size_t limit = provider.ConsumeBool() ? SIZE_MAX : provider.ConsumeIntegralInRange<size_t>(0, 40);
    std::vector<size_t> chunks(provider.ConsumeIntegralInRange<size_t>(0, 6));
    for (size_t& chunk : chunks)
        chunk = provider.ConsumeIntegralInRange<size_t>(0, 9);
    const std::string input = provider.ConsumeRemainingBytesAsString();

    const std::vector<std::string> expected = SplitAtBreaks(input);
    CLineReader reader(StringSource(input, chunks), limit);
    std::string line;
    size_t read = 0;
    while (reader.ReadLine(line)) {
        FUZZ_CHECK(read < expected.size());
        FUZZ_CHECK(line.size() <= limit);
        FUZZ_CHECK(line == expected[read]);
        ++read;
    }
    FUZZ_CHECK(line.empty());
    if (reader.TooLong())
        FUZZ_CHECK(read < expected.size() && expected[read].size() > limit);
    else
        FUZZ_CHECK(read == expected.size());
    FUZZ_CHECK(!reader.ReadLine(line)); // the end, or the stop, holds
    return 0;
}
