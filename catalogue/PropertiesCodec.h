#pragma once
// A command's properties file in its two forms. Without a byte-order mark
// it is ANSI text in the code page, as every earlier version wrote and
// reads it; a command the code page cannot hold exactly is written as UTF-8
// after a byte-order mark instead, and only such a command, so that earlier
// versions keep reading every file they can. Either way the lines are
// those of FormatPropertiesText. Texts here are UTF-8; the code page is
// passed in. Platform-free.
#include "framework/CodePageConverter.h"
#include "framework/LineReader.h"

#include <cstddef>
#include <string>
#include <vector>

enum class PropertiesForm { ansi, utf8 };

inline constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

struct EncodedProperties {
    PropertiesForm form = PropertiesForm::ansi;
    std::string bytes;   // the whole file; empty when refused
    std::string problem; // why the lines cannot be stored; empty when they can
};

// The file for these lines: the ANSI form when every line has an exact
// counterpart there, else the UTF-8 form. Refused when a line is not UTF-8,
// holds a line break or a zero character, or is too long for the reader.
EncodedProperties EncodeProperties(const std::vector<std::string>& lines, const CodePageConverter& codePage);
// The four lines of a command: name, target, parameters, show command.
EncodedProperties EncodeCommandProperties(const std::string& name, const std::string& target,
                                          const std::string& parameters, int showCommand,
                                          const CodePageConverter& codePage);

enum class PropertiesProblem { none, lineTooLong, undecodable };

struct DecodedProperties {
    PropertiesForm form = PropertiesForm::ansi;
    std::vector<std::string> lines; // UTF-8; on a problem, those before it
    PropertiesProblem problem = PropertiesProblem::none;
    size_t problemLine = 0;         // counted from 1
    std::string reason;             // names the line, e.g. "Line 2 is not valid UTF-8."
};

// Reads up to `count` lines, as the line reader splits them. Bytes that do
// not decode (a byte the code page does not map, UTF-8 that is invalid,
// overlong or encodes a surrogate, a zero character) stop the read with a
// reason: nothing is ever replaced by a stand-in character.
DecodedProperties DecodeProperties(CLineReader::Source source, size_t count, const CodePageConverter& codePage);
