#include "catalogue/CommandInput.h"

#include "catalogue/CommandName.h"
#include "catalogue/CommandPaths.h"
#include "catalogue/CommandLimits.h"
#include "resources/Texts.h"

unsigned FirstInputProblem(const std::string& name, const std::string& target)
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

std::string UnstorableInputText(const std::string& target, const std::string& parameters)
{
    auto hasLineBreak = [](const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; };
    if (hasLineBreak(target) || hasLineBreak(parameters))
        return TXT_NC_LINE_BREAK;
    if (target.size() > kMaxCommandTarget)
        return TXT_NC_TARGET_TOO_LONG;
    if (parameters.size() > kMaxCommandParameters)
        return TXT_NC_PARAMETERS_TOO_LONG;
    return {};
}
