#include "catalogue/PropertiesCodec.h"

#include "catalogue/CommandLimits.h"

#include <utf8cpp/utf8.h>

#include <algorithm>
#include <optional>
#include <string_view>
#include <utility>

namespace {

constexpr std::string_view kByteOrderMark = kUtf8ByteOrderMark;
constexpr std::string_view kBreakOrZero("\r\n\0", 3);

size_t MaxLine(PropertiesForm form)
{
    return form == PropertiesForm::ansi ? kMaxPropertiesLine : kMaxPropertiesLineUtf8;
}

std::string LineText(size_t number, const char* what)
{
    return "Line " + std::to_string(number) + " " + what;
}

std::string TooLongText(size_t number, PropertiesForm form)
{
    return LineText(number, "is longer than ") + std::to_string(MaxLine(form)) + " bytes.";
}

bool IsUtf8(std::string_view text)
{
    return utf8::is_valid(text.begin(), text.end());
}

// The first bytes of the source, as many as it has up to `size`.
std::string ReadHead(CLineReader::Source& source, size_t size)
{
    std::string head(size, '\0');
    size_t got = 0;
    while (source && got < size) {
        const size_t n = source(head.data() + got, size - got);
        if (n == 0)
            break;
        got += n;
    }
    head.resize(got);
    return head;
}

// The source again with bytes already taken from it put back in front.
CLineReader::Source PutBack(std::string head, CLineReader::Source source)
{
    return [head = std::move(head), at = size_t{0}, source = std::move(source)](char* buffer, size_t room) mutable {
        if (at < head.size()) {
            const size_t n = std::min(room, head.size() - at);
            head.copy(buffer, n, at);
            at += n;
            return n;
        }
        return source ? source(buffer, room) : size_t{0};
    };
}

DecodedProperties Refuse(DecodedProperties decoded, PropertiesProblem problem, std::string reason)
{
    decoded.problem = problem;
    decoded.problemLine = decoded.lines.size() + 1;
    decoded.reason = std::move(reason);
    return decoded;
}

} // namespace

EncodedProperties EncodeProperties(const std::vector<std::string>& lines, const CodePageConverter& codePage)
{
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        const char* problem = !IsUtf8(line)                                ? "is not valid UTF-8."
                              : line.find('\0') != std::string::npos       ? "holds a zero character."
                              : line.find_first_of("\r\n") != std::string::npos ? "holds a line break."
                                                                           : nullptr;
        if (problem)
            return {PropertiesForm::ansi, {}, LineText(i + 1, problem)};
        if (line.size() > kMaxPropertiesLineUtf8)
            return {PropertiesForm::ansi, {}, TooLongText(i + 1, PropertiesForm::utf8)};
    }

    std::string ansi;
    bool exact = true;
    for (const std::string& line : lines) {
        const std::optional<std::string> bytes = codePage.toAnsiExact(line);
        // A line the ANSI reader would refuse or split is no ANSI line.
        exact = bytes && bytes->size() <= kMaxPropertiesLine && bytes->find_first_of(kBreakOrZero) == std::string::npos;
        if (!exact)
            break;
        ansi += *bytes + "\r\n";
    }
    // Text that starts as the mark does would be read as UTF-8.
    if (exact && !ansi.starts_with(kByteOrderMark))
        return {PropertiesForm::ansi, std::move(ansi), {}};

    std::string utf8(kByteOrderMark);
    for (const std::string& line : lines)
        utf8 += line + "\r\n";
    return {PropertiesForm::utf8, std::move(utf8), {}};
}

EncodedProperties EncodeCommandProperties(const std::string& name, const std::string& target,
                                          const std::string& parameters, int showCommand,
                                          const CodePageConverter& codePage)
{
    return EncodeProperties({name, target, parameters, std::to_string(showCommand)}, codePage);
}

DecodedProperties DecodeProperties(CLineReader::Source source, size_t count, const CodePageConverter& codePage)
{
    DecodedProperties decoded;
    std::string head = ReadHead(source, kByteOrderMark.size());
    if (head == kByteOrderMark) {
        decoded.form = PropertiesForm::utf8;
        head.clear();
    }
    CLineReader reader(PutBack(std::move(head), std::move(source)), MaxLine(decoded.form));
    std::string line;
    while (decoded.lines.size() < count && reader.ReadLine(line)) {
        const size_t number = decoded.lines.size() + 1;
        if (line.find('\0') != std::string::npos)
            return Refuse(std::move(decoded), PropertiesProblem::undecodable, LineText(number, "holds a zero character."));
        if (decoded.form == PropertiesForm::utf8) {
            if (!IsUtf8(line))
                return Refuse(std::move(decoded), PropertiesProblem::undecodable, LineText(number, "is not valid UTF-8."));
            decoded.lines.push_back(std::move(line));
        } else {
            std::optional<std::string> text = codePage.toUtf8(line);
            if (!text)
                return Refuse(std::move(decoded), PropertiesProblem::undecodable,
                              LineText(number, "holds bytes the code page cannot read."));
            decoded.lines.push_back(std::move(*text));
        }
    }
    if (reader.TooLong())
        return Refuse(std::move(decoded), PropertiesProblem::lineTooLong,
                      TooLongText(decoded.lines.size() + 1, decoded.form));
    return decoded;
}
