// The properties file. Any bytes read as one give at most the lines asked
// for, none over the limit, and a window-mode line that maps to a show
// command the combo box offers. Input the editor's checks accept is stored
// so that it reads back field for field; input they refuse is refused for
// a reason that holds.
#include "catalogue/CommandInput.h"
#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/PropertiesFormat.h"
#include "catalogue/CommandLimits.h"
#include "fuzz/Check.h"
#include "fuzz/StringSource.h"
#include "resources/Texts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

bool IsOfferedShowCommand(int showCommand)
{
    return showCommand == 1 || showCommand == 7 || showCommand == 3;
}

bool HasLineBreak(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

void CheckAnyFile(const std::string& file)
{
    std::vector<std::string> lines;
    const bool readable = ReadPropertiesLines(StringSource(file), 4, lines);
    FUZZ_CHECK(lines.size() <= 4);
    for (const std::string& line : lines)
        FUZZ_CHECK(line.size() <= kMaxPropertiesLine);
    if (readable && lines.size() == 4) {
        const int mode = ModeIndexFromPropertiesLine(lines[3]);
        FUZZ_CHECK(mode >= 0 && mode <= 2);
        const int showCommand = ShowCommandFromModeIndex(mode);
        FUZZ_CHECK(IsOfferedShowCommand(showCommand));
        if (lines[3] == "7" || lines[3] == "3")
            FUZZ_CHECK(std::to_string(showCommand) == lines[3]);
    }
}

// The editor's OK handler up to CreateCommand (lower-casing aside: the
// code page's call, tested under Wine, changes only letters of a legal
// name), then the file it writes, read back.
void CheckEditorInput(FuzzedDataProvider& provider)
{
    const std::string name = provider.ConsumeRandomLengthString(40);
    const std::string typed = provider.ConsumeRandomLengthString(300);
    const std::string parameters = provider.ConsumeRandomLengthString(300);
    const int showCommand = ShowCommandFromModeIndex(provider.ConsumeIntegralInRange(-1, 3));

    const std::string target = TrimTrailingBackslashes(typed);
    switch (FirstInputProblem(name, typed)) {
    case 0:
        break;
    case IDS_ENTER_COMMAND_NAME:
        FUZZ_CHECK(name.empty());
        return;
    case IDS_ILLEGAL_COMMAND_NAME:
        FUZZ_CHECK(!IsLegalCommandName(name));
        return;
    case IDS_ENTER_COMMAND_PATH:
        FUZZ_CHECK(target.empty());
        return;
    default:
        FUZZ_CHECK(!"an unknown refusal");
    }
    if (FindUnstorableInput(target, parameters) != UnstorableInput::none) {
        FUZZ_CHECK(HasLineBreak(target) || HasLineBreak(parameters) ||
                   target.size() > kMaxCommandTarget || parameters.size() > kMaxCommandParameters);
        return;
    }
    FUZZ_CHECK(IsLegalCommandName(name) && !target.empty());

    const std::string file = FormatPropertiesText(name, target, parameters, showCommand);
    std::vector<std::string> lines;
    FUZZ_CHECK(ReadPropertiesLines(StringSource(file), 5, lines));
    FUZZ_CHECK(lines.size() == 4);
    FUZZ_CHECK(lines[0] == name && lines[1] == target && lines[2] == parameters);
    // No selection (0) is stored as such and reads back as a normal window.
    FUZZ_CHECK(ShowCommandFromModeIndex(ModeIndexFromPropertiesLine(lines[3])) == (showCommand ? showCommand : 1));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CheckAnyFile(std::string(reinterpret_cast<const char*>(data), size));
    FuzzedDataProvider provider(data, size);
    CheckEditorInput(provider);
    return 0;
}
