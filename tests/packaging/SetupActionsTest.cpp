// The MSI's custom-action library: its exception boundary, with a package
// of this build opened as the installer opens it, and the rule that keeps
// an upgrade in the installed folder.
#include "installer/ActionBoundary.h"
#include "installer/InstallFolderRules.h"
#include "tests/packaging/InstallerSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <msi.h>
#include <msiquery.h>

#include <new>
#include <stdexcept>
#include <string>

namespace {

std::wstring g_log;

INT CALLBACK RecordLine(LPVOID, UINT, LPCWSTR message)
{
    if (message)
        g_log += std::wstring(message) + L"\n";
    return 0;
}

TEST(SetupActions, AnExceptionFailsTheStepOrIsLoggedAndNeverLeavesTheLibrary)
{
    const std::wstring package = PackagePath(L"VERBOSA_MSI");
    if (package.empty())
        GTEST_SKIP() << L"no MSI package (wixl missing)";
    MsiSetInternalUI(INSTALLUILEVEL_NONE, nullptr);
    const INSTALLUI_HANDLERW previous = MsiSetExternalUIW(RecordLine, INSTALLLOGMODE_INFO, nullptr);
    PMSIHANDLE install;
    ASSERT_EQ(ERROR_SUCCESS, MsiOpenPackageExW(package.c_str(),
                                               MSIOPENPACKAGEFLAGS_IGNOREMACHINESTATE, &install));
    g_log.clear();

    EXPECT_EQ(UINT(ERROR_INSTALL_FAILURE),
              RunAction(install, L"Probe", OnException::failInstall,
                        [](MSIHANDLE) -> UINT { throw std::runtime_error("the disk went away"); }));
    EXPECT_EQ(UINT(ERROR_SUCCESS), RunAction(install, L"Cleanup", OnException::logAndGoOn,
                                             [](MSIHANDLE) -> UINT { throw std::bad_alloc(); }));
    EXPECT_EQ(UINT(ERROR_INSTALL_FAILURE),
              RunAction(install, L"Odd", OnException::failInstall, [](MSIHANDLE) -> UINT { throw 42; }));
    // A step's own answer passes through.
    EXPECT_EQ(UINT(ERROR_INSTALL_USEREXIT),
              RunAction(install, L"Quiet", OnException::failInstall, [](MSIHANDLE) -> UINT {
                  return ERROR_INSTALL_USEREXIT;
              }));

    MsiSetExternalUIW(previous, 0, nullptr);
    EXPECT_NE(std::wstring::npos, g_log.find(L"Probe stopped: the disk went away; the installation fails")) << g_log;
    EXPECT_NE(std::wstring::npos, g_log.find(L"Cleanup stopped: not enough memory; the rest goes on")) << g_log;
    EXPECT_NE(std::wstring::npos, g_log.find(L"Odd stopped: an unexpected error; the installation fails")) << g_log;
    EXPECT_EQ(std::wstring::npos, g_log.find(L"Quiet")) << g_log;
}

TEST(SetupActions, AnUpgradeAndAnUninstallKeepTheInstalledFolderAndNeverSwitchArchitecture)
{
    const std::u16string installed = u"C:\\Program Files\\Verbosa";
    // Nothing installed: the command line (or the default) decides.
    EXPECT_EQ(FolderChoice::asRequested, ChooseInstallFolder(u"", u"", u"", false));
    EXPECT_EQ(FolderChoice::asRequested, ChooseInstallFolder(u"", u"", u"D:\\Tools", false));
    // Installed: the same folder however it is spelt, else a refusal.
    for (const char16_t* same : {u"", u"C:\\Program Files\\Verbosa", u"c:\\program files\\VERBOSA\\",
                                 u"C:/Program Files/Verbosa/", u"C:\\Program Files\\Verbosa\\\\"})
        EXPECT_EQ(FolderChoice::installedFolder, ChooseInstallFolder(installed, u"", same, false));
    for (const char16_t* other : {u"D:\\Tools\\Verbosa", u"C:\\Program Files\\Verbosa2", u"C:\\Program Files"})
        EXPECT_EQ(FolderChoice::refuseMove, ChooseInstallFolder(installed, u"", other, false));
    // The other architecture's installation is never replaced, whatever the folder.
    EXPECT_EQ(FolderChoice::refuseOtherArchitecture, ChooseInstallFolder(u"", installed, u"", false));
    EXPECT_EQ(FolderChoice::refuseOtherArchitecture, ChooseInstallFolder(u"", installed, installed, false));
    // An uninstall cleans up the installed folder, whatever it is given.
    EXPECT_EQ(FolderChoice::installedFolder, ChooseInstallFolder(installed, u"", u"D:\\Tools", true));
    EXPECT_EQ(FolderChoice::asRequested, ChooseInstallFolder(u"", installed, u"", true));
    // A drive's root keeps its backslash: "C:" is another folder.
    EXPECT_TRUE(IsSameFolder(u"C:\\", u"c:/"));
    EXPECT_FALSE(IsSameFolder(u"C:\\", u"C:"));
}

} // namespace
