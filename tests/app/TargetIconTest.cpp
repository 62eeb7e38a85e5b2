#include "services/TargetIcon.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/RegistryKey.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Queries that answer from a table and record what was asked.
struct FakeSystem {
    std::vector<std::string> folders;
    std::vector<std::string> asked;
    std::string typeFile = "types.dll";
    int typeIndex = 9;
    std::vector<std::string> knownExtensions;

    IconQueries Queries()
    {
        IconQueries q;
        q.isExistingFolder = [this](const std::string& target) {
            asked.push_back("folder " + target);
            for (const auto& f : folders)
                if (f == target)
                    return true;
            return false;
        };
        q.typeIcon = [this](const std::string& extension, std::string& file, int& index) {
            asked.push_back("type " + extension);
            for (const auto& e : knownExtensions) {
                if (e == extension) {
                    file = typeFile;
                    index = typeIndex;
                    return true;
                }
            }
            return false;
        };
        return q;
    }
};

std::wstring WindowsFolder()
{
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryW(windows, MAX_PATH);
    return std::wstring(windows, length < MAX_PATH ? length : 0);
}

const IconChoice kShell0{"SHELL32.DLL", 0, {}, 0};

TEST(TargetExtension, FromTheLastDotAfterTheFirstCharacterWithAsciiLowerCased)
{
    EXPECT_EQ(".exe", TargetExtension("C:\\Tools\\RUN.EXE"));
    EXPECT_EQ(".tar", TargetExtension("a.b.TaR"));
    EXPECT_EQ("", TargetExtension(".profile"));       // the dot is the first character
    EXPECT_EQ("", TargetExtension("C:\\Tools\\make"));
    EXPECT_EQ(".v2\\make", TargetExtension("C:\\my.v2\\make")); // a dot in a folder name
    EXPECT_EQ(".\xC4xe", TargetExtension("x.\xC4XE"));   // only A-Z are lowered
    EXPECT_EQ(".", TargetExtension("name."));
}

TEST(IconRule, WebAddressesComeFirstThenExecutablesWithTheirFallback)
{
    FakeSystem system;
    system.knownExtensions = {".exe", ".html"};
    const IconQueries q = system.Queries();

    EXPECT_EQ((IconChoice{"url.dll", 0, {}, 0}), ChooseTargetIcon("http://host/setup.exe", q));
    EXPECT_EQ((IconChoice{"url.dll", 0, {}, 0}), ChooseTargetIcon("go to http://x", q));
    EXPECT_EQ((IconChoice{"C:\\T\\A.EXE", 0, "SHELL32.DLL", 2}), ChooseTargetIcon("C:\\T\\A.EXE", q));
    EXPECT_EQ((IconChoice{"C:\\T\\lib.Dll", 0, "SHELL32.DLL", 2}), ChooseTargetIcon("C:\\T\\lib.Dll", q));
    // Neither asks the file system or the registry.
    EXPECT_TRUE(system.asked.empty());

    // https is no web address here: its suffix decides.
    EXPECT_EQ((IconChoice{"types.dll", 9, {}, 0}), ChooseTargetIcon("https://host/page.html", q));
    EXPECT_EQ(kShell0, ChooseTargetIcon("HTTP://HOST/", q)); // case-sensitive scheme, no suffix
}

TEST(IconRule, FoldersDriveRootsTypesAndTheLastResort)
{
    FakeSystem system;
    system.folders = {"C:\\Data", "D:\\"};
    system.knownExtensions = {".txt"};
    const IconQueries q = system.Queries();

    EXPECT_EQ((IconChoice{"SHELL32.DLL", 4, {}, 0}), ChooseTargetIcon("C:\\Data", q));
    // A folder test that says yes wins over the length rule.
    EXPECT_EQ((IconChoice{"SHELL32.DLL", 4, {}, 0}), ChooseTargetIcon("D:\\", q));
    EXPECT_EQ((IconChoice{"SHELL32.DLL", 8, {}, 0}), ChooseTargetIcon("C:\\", q));
    EXPECT_EQ((IconChoice{"SHELL32.DLL", 8, {}, 0}), ChooseTargetIcon("abc", q)); // any 3 characters
    // A trailing backslash is not found as a folder and is not a root.
    EXPECT_EQ(kShell0, ChooseTargetIcon("C:\\Data\\", q));
    EXPECT_EQ((IconChoice{"types.dll", 9, {}, 0}), ChooseTargetIcon("C:\\notes.TXT", q));
    // A dot in a folder name makes an extension that no type knows.
    EXPECT_EQ(kShell0, ChooseTargetIcon("C:\\my.v2\\make", q));
    EXPECT_EQ(kShell0, ChooseTargetIcon("C:\\Tools\\make", q));
    EXPECT_EQ(kShell0, ChooseTargetIcon("", q));

    const std::vector<std::string> asked{"folder C:\\Data",      "folder D:\\",         "folder C:\\",
                                         "folder abc",           "folder C:\\Data\\",   "folder C:\\notes.TXT",
                                         "type .txt",            "folder C:\\my.v2\\make", "type .v2\\make",
                                         "folder C:\\Tools\\make", "folder "};
    EXPECT_EQ(asked, system.asked); // no type lookup without an extension
}

TEST(IconSpecification, SplitsAtTheLastCommaAndReadsTheIndexLikeAtoi)
{
    struct Case {
        const char* spec;
        const char* file;
        int index;
    } cases[] = {
        {"C:\\x\\app.exe", "C:\\x\\app.exe", 0},       // no comma
        {",5", ",5", 0},                               // leading comma: all of it is the file
        {"C:\\x.dll,3", "C:\\x.dll", 3},
        {"C:\\x.dll,-103", "C:\\x.dll", -103},         // a resource id
        {"C:\\x.dll,+2", "C:\\x.dll", 2},
        {"C:\\x.dll,   7", "C:\\x.dll", 7},            // blanks before the number
        {"C:\\x.dll,", "C:\\x.dll", 0},                // no digits
        {"C:\\x.dll,abc", "C:\\x.dll", 0},
        {"C:\\x.dll,12ab", "C:\\x.dll", 12},
        {"C:\\x.dll,- 4", "C:\\x.dll", 0},             // a sign then a blank: no digits
        {"C:\\a,b\\x.dll,1", "C:\\a,b\\x.dll", 1},     // the last comma counts
        {"\"C:\\x y\\z.exe\",1", "\"C:\\x y\\z.exe\"", 1}, // quotes stay
        {"%SystemRoot%\\x.dll,2", "%SystemRoot%\\x.dll", 2},
        {"x.dll,99999999999999", "x.dll", 2147483647}, // saturates, never overflows
        {"x.dll,-2147483648", "x.dll", -2147483647 - 1}, // the int range's far end
        {"", "", 0},
    };
    for (const Case& c : cases) {
        std::string file = "unchanged";
        int index = -7;
        ParseIconSpecification(c.spec, file, index);
        EXPECT_EQ(c.file, file) << c.spec;
        EXPECT_EQ(c.index, index) << c.spec;
    }
}

TEST(TypeIcon, FollowsTheExtensionToItsTypeAndReadsDefaultIcon)
{
    CRegistrySandbox sandbox;
    WriteStringValue(HKEY_CLASSES_ROOT, L".vrb", L"", L"Verbosa.Doc");
    WriteStringValue(HKEY_CLASSES_ROOT, L"Verbosa.Doc\\DefaultIcon", L"", L"C:\\v.dll, -2");
    WriteStringValue(HKEY_CLASSES_ROOT, L".notype", L"", L"Missing.Type");
    WriteStringValue(HKEY_CLASSES_ROOT, L".long", L"", std::wstring(300, L'L'));
    CreateKey(HKEY_CLASSES_ROOT, L".novalue");

    std::wstring file = L"unchanged";
    int index = 5;
    ASSERT_TRUE(GetTypeIcon(L".vrb", file, index));
    EXPECT_EQ(L"C:\\v.dll", file);
    EXPECT_EQ(-2, index);

    for (const wchar_t* extension : {L".none", L".notype", L".long", L".novalue"}) {
        file = L"unchanged";
        EXPECT_FALSE(GetTypeIcon(extension, file, index)) << extension;
        EXPECT_EQ(L"unchanged", file);
    }
}

TEST(IconExtraction, RealIconsForProgramsFoldersAndFallbacks)
{
    CTempProgramFolder folder;
    const std::wstring notepad = WindowsFolder() + L"\\notepad.exe";
    const std::wstring scratch = folder.Path();

    CIconHandle program(GetTargetIcon(notepad, false));
    EXPECT_TRUE(program);
    CIconHandle large(GetTargetIcon(notepad, true));
    EXPECT_TRUE(large);
    CIconHandle directory(GetTargetIcon(scratch, false));
    EXPECT_TRUE(directory);

    // An "executable" without icons shows SHELL32.DLL's icon 2 instead.
    const std::wstring bare = folder.Path() + L"\\bare.exe";
    WriteFileBytes(bare, "not a program");
    EXPECT_EQ(nullptr, ExtractOneIcon(bare, 0, false));
    CIconHandle fallback(GetTargetIcon(bare, false));
    EXPECT_TRUE(fallback);

    // A type whose icon file is a placeholder: no icon, no further fallback.
    CRegistrySandbox sandbox;
    WriteStringValue(HKEY_CLASSES_ROOT, L".ghost", L"", L"Ghost.File");
    WriteStringValue(HKEY_CLASSES_ROOT, L"Ghost.File\\DefaultIcon", L"", L"%1");
    CIconHandle none(GetTargetIcon(scratch + L"\\a.ghost", false));
    EXPECT_FALSE(none);
}

// Paths the ANSI code page cannot spell: Cyrillic folders, a Chinese
// type name and an emoji (a surrogate pair) in the icon file.
TEST(IconExtraction, TargetsAndIconFilesOutsideTheCodePage)
{
    CTempProgramFolder folder;
    const std::wstring tools = folder.Path() + L"\\\u0418\u043D\u0441\u0442\u0440\u0443\u043C\u0435\u043D\u0442\u044B";
    const std::wstring tool = tools + L"\\tool.exe";
    ASSERT_TRUE(CreateDirectoryW(tools.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW((WindowsFolder() + L"\\notepad.exe").c_str(), tool.c_str(), FALSE));
    struct Cleanup {
        std::wstring tools, tool;
        ~Cleanup()
        {
            DeleteFileW(tool.c_str());
            RemoveDirectoryW(tools.c_str());
        }
    } cleanup{tools, tool};

    // The rule sees the target whole; the folder is found through the wide calls.
    const std::string toolUtf8 = WideToUtf8(tool).value();
    EXPECT_EQ((IconChoice{toolUtf8, 0, "SHELL32.DLL", 2}), ChooseTargetIcon(tool, SystemIconQueries()));
    EXPECT_EQ((IconChoice{"SHELL32.DLL", 4, {}, 0}), ChooseTargetIcon(tools, SystemIconQueries()));
    // An unpaired surrogate names nothing the rule can read: the plain icon.
    EXPECT_EQ((IconChoice{"SHELL32.DLL", 0, {}, 0}), ChooseTargetIcon(tools + L"\\\xD800.exe", SystemIconQueries()));

    // The program's own icon, not the fallback: its file was opened.
    CIconHandle own(ExtractOneIcon(tool, 0, false));
    EXPECT_TRUE(own);
    CIconHandle listed(GetTargetIconOfSize(tool, 32));
    EXPECT_TRUE(listed);

    CRegistrySandbox sandbox;
    const std::wstring spec = tool + L"\U0001F4F7,3";
    CRegistryKey key;
    ASSERT_TRUE(key.Create(HKEY_CLASSES_ROOT, L".vrbu", KEY_SET_VALUE) && key.WriteString(L"", L"\u540D.Doc"));
    ASSERT_TRUE(key.Create(HKEY_CLASSES_ROOT, L"\u540D.Doc\\DefaultIcon", KEY_SET_VALUE) && key.WriteString(L"", spec));
    std::wstring file;
    int index = 0;
    ASSERT_TRUE(GetTypeIcon(L".vrbu", file, index));
    EXPECT_EQ(tool + L"\U0001F4F7", file);
    EXPECT_EQ(3, index);
}

} // namespace
