#include "installer/InstallFolderRules.h"

#include "framework/AsciiCase.h"

namespace {

std::u16string Normalized(std::u16string_view path)
{
    std::u16string text(path);
    for (char16_t& c : text)
        if (c == u'/')
            c = u'\\';
    // "C:\" keeps its backslash: "C:" alone means the drive's current folder.
    while (!text.empty() && text.back() == u'\\' && !(text.size() == 3 && text[1] == u':'))
        text.pop_back();
    return text;
}

} // namespace

bool IsSameFolder(std::u16string_view a, std::u16string_view b)
{
    return EqualIgnoringAsciiCase(Normalized(a), Normalized(b));
}

FolderChoice ChooseInstallFolder(std::u16string_view installed, std::u16string_view otherArchitecture,
                                 std::u16string_view requested, bool uninstalling)
{
    if (uninstalling)
        return installed.empty() ? FolderChoice::asRequested : FolderChoice::installedFolder;
    if (!otherArchitecture.empty())
        return FolderChoice::refuseOtherArchitecture;
    if (installed.empty())
        return FolderChoice::asRequested;
    if (requested.empty() || IsSameFolder(installed, requested))
        return FolderChoice::installedFolder;
    return FolderChoice::refuseMove;
}
