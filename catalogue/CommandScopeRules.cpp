#include "catalogue/CommandScopeRules.h"

#include "framework/AsciiCase.h"
#include "resources/Texts.h"

bool IsInsideFolder(const std::wstring& path, const std::wstring& folder)
{
    std::wstring root = folder;
    while (!root.empty() && (root.back() == L'\\' || root.back() == L'/'))
        root.pop_back();
    if (root.empty() || path.size() < root.size())
        return false;
    if (!EqualIgnoringAsciiCase(std::wstring_view(path).substr(0, root.size()), root))
        return false;
    return path.size() == root.size() || path[root.size()] == L'\\' || path[root.size()] == L'/';
}

MachineScopeOffer OfferMachineScope(bool elevated, const std::wstring& programFolder, const std::wstring& profilesFolder)
{
    if (IsInsideFolder(programFolder, profilesFolder))
        return MachineScopeOffer::privateFolder;
    return elevated ? MachineScopeOffer::offered : MachineScopeOffer::needsElevation;
}

CommandScope DefaultCommandScope(MachineScopeOffer offer)
{
    return offer == MachineScopeOffer::offered ? CommandScope::machine : CommandScope::user;
}

