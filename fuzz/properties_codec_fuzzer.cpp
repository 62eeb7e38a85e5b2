// The properties file's two forms, with the Windows-1252 table. Whatever
// the codec reads, it writes back (in the ANSI form when it was read from
// it) and reads again line for line; a read that stops says at which line.
// Lines it is given are stored so that they read back, or refused for a
// reason that holds.
#include "catalogue/CommandLimits.h"
#include "catalogue/PropertiesCodec.h"
#include "framework/Windows1252.h"
#include "fuzz/Check.h"
#include "fuzz/StringSource.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

const CodePageConverter& Table()
{
    static const CodePageConverter table = Windows1252Converter();
    return table;
}

void CheckFile(const std::string& file, size_t count, std::vector<size_t> chunks)
{
    const DecodedProperties decoded = DecodeProperties(StringSource(file, std::move(chunks)), count, Table());
    FUZZ_CHECK(decoded.lines.size() <= count);
    if (decoded.problem != PropertiesProblem::none) {
        FUZZ_CHECK(decoded.problemLine == decoded.lines.size() + 1);
        FUZZ_CHECK(decoded.reason.starts_with("Line " + std::to_string(decoded.problemLine) + " "));
        return;
    }
    const EncodedProperties encoded = EncodeProperties(decoded.lines, Table());
    FUZZ_CHECK(encoded.problem.empty());
    if (decoded.form == PropertiesForm::ansi)
        FUZZ_CHECK(encoded.form == PropertiesForm::ansi);
    const DecodedProperties again = DecodeProperties(StringSource(encoded.bytes), count + 1, Table());
    FUZZ_CHECK(again.problem == PropertiesProblem::none);
    FUZZ_CHECK(again.form == encoded.form);
    FUZZ_CHECK(again.lines == decoded.lines);
}

void CheckLines(FuzzedDataProvider& provider)
{
    std::vector<std::string> lines(provider.ConsumeIntegralInRange<size_t>(0, 5));
    for (std::string& line : lines)
        line = provider.ConsumeRandomLengthString(200);
    const EncodedProperties encoded = EncodeProperties(lines, Table());
    if (!encoded.problem.empty()) {
        FUZZ_CHECK(encoded.bytes.empty());
        return;
    }
    const DecodedProperties decoded = DecodeProperties(StringSource(encoded.bytes), lines.size(), Table());
    FUZZ_CHECK(decoded.problem == PropertiesProblem::none);
    FUZZ_CHECK(decoded.form == encoded.form);
    FUZZ_CHECK(decoded.lines == lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file(reinterpret_cast<const char*>(data), size);
    CheckFile(file, 4, {});
    // Breaks and the byte-order mark across every kind of buffer boundary.
    CheckFile(file, 6, {1, 2, 5});
    FuzzedDataProvider provider(data, size);
    CheckLines(provider);
    return 0;
}
