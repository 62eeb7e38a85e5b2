#pragma once
// What the New/Edit Command dialog accepts as a command, platform-free: the
// checks of its OK handler, in their order. Templates over the string type;
// lengths count UTF-16 units in Win32 code, as Windows counts a path.
#include "catalogue/CommandLimits.h"
#include "catalogue/CommandName.h"
#include "framework/PathText.h"
#include "resources/Texts.h"

#include <string>

// The string id of the first failing check (empty name, illegal name,
// a target that is empty once its trailing backslashes are trimmed), or 0
// when the input passes.
template <typename String>
unsigned FirstInputProblem(const String& name, const String& target)
{
    if (name.empty())
        return IDS_ENTER_COMMAND_NAME;
    if (!IsLegalCommandName(name))
        return IDS_ILLEGAL_COMMAND_NAME;
    // "\" alone would be trimmed to nothing and stored as an empty target.
    if (TrimTrailingBackslashes(target).empty())
        return IDS_ENTER_COMMAND_PATH;
    return 0;
}

// Why the input cannot be stored faithfully: a line break that would split
// the properties file, half of a surrogate pair (UTF-16 text), a target or
// parameters longer than a shortcut holds.
enum class UnstorableInput { none, lineBreak, brokenText, targetTooLong, parametersTooLong };

// UTF-16 text whose surrogates all come in pairs; other text passes.
template <typename String>
bool HasWholeSurrogates(const String& text)
{
    if constexpr (sizeof(typename String::value_type) != 2) {
        return true;
    } else {
        for (size_t i = 0; i < text.size(); ++i) {
            const unsigned unit = static_cast<unsigned>(text[i]);
            if (unit >= 0xDC00 && unit <= 0xDFFF)
                return false;
            if (unit >= 0xD800 && unit <= 0xDBFF) {
                const unsigned next = i + 1 < text.size() ? static_cast<unsigned>(text[i + 1]) : 0;
                if (next < 0xDC00 || next > 0xDFFF)
                    return false;
                ++i;
            }
        }
        return true;
    }
}

template <typename String>
UnstorableInput FindUnstorableInput(const String& target, const String& parameters)
{
    using Char = typename String::value_type;
    const auto breaksALine = [](const String& text) {
        for (const Char c : text)
            if (c == Char('\r') || c == Char('\n'))
                return true;
        return false;
    };
    if (breaksALine(target) || breaksALine(parameters))
        return UnstorableInput::lineBreak;
    if (!HasWholeSurrogates(target) || !HasWholeSurrogates(parameters))
        return UnstorableInput::brokenText;
    if (target.size() > kMaxCommandTarget)
        return UnstorableInput::targetTooLong;
    if (parameters.size() > kMaxCommandParameters)
        return UnstorableInput::parametersTooLong;
    return UnstorableInput::none;
}
