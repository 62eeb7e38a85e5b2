#pragma once
// Where the MSI installs when Verbosa is already installed. An upgrade stays
// in the installed folder: the All users commands' shortcuts lie in its Cmds
// folder and their App Paths entries name them. A package never replaces
// the other architecture's installation: a 64-bit shell loads only a 64-bit
// extension, so the switch would leave the registered library dangling.
// Platform-free.
#include <string>
#include <string_view>

enum class FolderChoice {
    asRequested,             // nothing installed: INSTALLDIR as given, or the default
    installedFolder,         // INSTALLDIR becomes the installed folder
    refuseMove,              // INSTALLDIR names another folder: uninstall first to move
    refuseOtherArchitecture, // the other architecture's package is installed
};

// installed and otherArchitecture: the program folders of this and of the
// other architecture's installation (empty when none); requested: INSTALLDIR
// as the command line gave it (empty when it did not). An uninstall always
// works on the installed folder: the commands it removes lie there.
FolderChoice ChooseInstallFolder(std::u16string_view installed, std::u16string_view otherArchitecture,
                                 std::u16string_view requested, bool uninstalling);

// '/' and '\' alike, trailing separators ignored, ASCII letters without case
// (other letters must match exactly: a refusal is safer than a wrong folder).
bool IsSameFolder(std::u16string_view a, std::u16string_view b);
