#include "catalogue/CommandScopeRules.h"

#include "framework/AsciiCase.h"
#include "resources/Texts.h"

bool IsInsideFolder(const std::string& path, const std::string& folder)
{
    std::string root = folder;
    while (!root.empty() && (root.back() == '\\' || root.back() == '/'))
        root.pop_back();
    if (root.empty() || path.size() < root.size())
        return false;
    if (!EqualIgnoringAsciiCase(std::string_view(path).substr(0, root.size()), root))
        return false;
    return path.size() == root.size() || path[root.size()] == '\\' || path[root.size()] == '/';
}

MachineScopeOffer OfferMachineScope(bool elevated, const std::string& programFolder, const std::string& profilesFolder)
{
    if (IsInsideFolder(programFolder, profilesFolder))
        return MachineScopeOffer::privateFolder;
    return elevated ? MachineScopeOffer::offered : MachineScopeOffer::needsElevation;
}

CommandScope DefaultCommandScope(MachineScopeOffer offer)
{
    return offer == MachineScopeOffer::offered ? CommandScope::machine : CommandScope::user;
}

