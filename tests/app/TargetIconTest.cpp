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
    std::vector<std::wstring> folders;
    std::vector<std::wstring> asked;
    std::wstring typeFile = L"types.dll";
    int typeIndex = 9;
    std::vector<std::wstring> knownExtensions;

    IconQueries Queries()
    {
        IconQueries q;
        q.isExistingFolder = [this](const std::wstring& target) {
            asked.push_back(L"folder " + target);
            for (const auto& f : folders)
                if (f == target)
                    return true;
            return false;
        };
        q.typeIcon = [this](const std::wstring& extension, std::wstring& file, int& index) {
            asked.push_back(L"type " + extension);
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

const IconChoice kShell0{L"SHELL32.DLL", 0, {}, 0};

TEST(TargetExtension, FromTheLastDotAfterTheFirstCharacterWithAsciiLowerCased)
{
    EXPECT_EQ(L".exe", TargetExtension(L"C:\\Tools\\RUN.EXE"));
    EXPECT_EQ(L".tar", TargetExtension(L"a.b.TaR"));
    EXPECT_EQ(L"", TargetExtension(L".profile"));       // the dot is the first character
    EXPECT_EQ(L"", TargetExtension(L"C:\\Tools\\make"));
    EXPECT_EQ(L".v2\\make", TargetExtension(L"C:\\my.v2\\make")); // a dot in a folder name
    EXPECT_EQ(L".\xC4xe", TargetExtension(L"x.\xC4XE"));   // only A-Z are lowered
    EXPECT_EQ(L".", TargetExtension(L"name."));
}

TEST(IconRule, WebAddressesComeFirstThenExecutablesWithTheirFallback)
{
    FakeSystem system;
    system.knownExtensions = {L".exe", L".html"};
    const IconQueries q = system.Queries();

    EXPECT_EQ((IconChoice{L"url.dll", 0, {}, 0}), ChooseTargetIcon(L"http://host/setup.exe", q));
    EXPECT_EQ((IconChoice{L"url.dll", 0, {}, 0}), ChooseTargetIcon(L"go to http://x", q));
    EXPECT_EQ((IconChoice{L"C:\\T\\A.EXE", 0, L"SHELL32.DLL", 2}), ChooseTargetIcon(L"C:\\T\\A.EXE", q));
    EXPECT_EQ((IconChoice{L"C:\\T\\lib.Dll", 0, L"SHELL32.DLL", 2}), ChooseTargetIcon(L"C:\\T\\lib.Dll", q));
    // Neither asks the file system or the registry.
    EXPECT_TRUE(system.asked.empty());

    // https is no web address here: its suffix decides.
    EXPECT_EQ((IconChoice{L"types.dll", 9, {}, 0}), ChooseTargetIcon(L"https://host/page.html", q));
    EXPECT_EQ(kShell0, ChooseTargetIcon(L"HTTP://HOST/", q)); // case-sensitive scheme, no suffix
}

TEST(IconRule, FoldersDriveRootsTypesAndTheLastResort)
{
    FakeSystem system;
    system.folders = {L"C:\\Data", L"D:\\"};
    system.knownExtensions = {L".txt"};
    const IconQueries q = system.Queries();

    EXPECT_EQ((IconChoice{L"SHELL32.DLL", 4, {}, 0}), ChooseTargetIcon(L"C:\\Data", q));
    // A folder test that says yes wins over the length rule.
    EXPECT_EQ((IconChoice{L"SHELL32.DLL", 4, {}, 0}), ChooseTargetIcon(L"D:\\", q));
    EXPECT_EQ((IconChoice{L"SHELL32.DLL", 8, {}, 0}), ChooseTargetIcon(L"C:\\", q));
    EXPECT_EQ((IconChoice{L"SHELL32.DLL", 8, {}, 0}), ChooseTargetIcon(L"abc", q)); // any 3 characters
    // A trailing backslash is not found as a folder and is not a root.
    EXPECT_EQ(kShell0, ChooseTargetIcon(L"C:\\Data\\", q));
    EXPECT_EQ((IconChoice{L"types.dll", 9, {}, 0}), ChooseTargetIcon(L"C:\\notes.TXT", q));
    // A dot in a folder name makes an extension that no type knows.
    EXPECT_EQ(kShell0, ChooseTargetIcon(L"C:\\my.v2\\make", q));
    EXPECT_EQ(kShell0, ChooseTargetIcon(L"C:\\Tools\\make", q));
    EXPECT_EQ(kShell0, ChooseTargetIcon(L"", q));

    const std::vector<std::wstring> asked{L"folder C:\\Data",      L"folder D:\\",         L"folder C:\\",
                                         L"folder abc",           L"folder C:\\Data\\",   L"folder C:\\notes.TXT",
                                         L"type .txt",            L"folder C:\\my.v2\\make", L"type .v2\\make",
                                         L"folder C:\\Tools\\make", L"folder "};
    EXPECT_EQ(asked, system.asked); // no type lookup without an extension
}

TEST(IconSpecification, SplitsAtTheLastCommaAndReadsTheIndexLikeAtoi)
{
    struct Case {
        const char* spec;
        const char* file;
        int index;
    } cases[] = {
        {L"C:\\x\\app.exe", L"C:\\x\\app.exe", 0},       // no comma
        {L",5", L",5", 0},                               // leading comma: all of it is the file
        {L"C:\\x.dll,3", L"C:\\x.dll", 3},
        {L"C:\\x.dll,-103", L"C:\\x.dll", -103},         // a resource id
        {L"C:\\x.dll,+2", L"C:\\x.dll", 2},
        {L"C:\\x.dll,   7", L"C:\\x.dll", 7},            // blanks before the number
        {L"C:\\x.dll,", L"C:\\x.dll", 0},                // no digits
        {L"C:\\x.dll,abc", L"C:\\x.dll", 0},
        {L"C:\\x.dll,12ab", L"C:\\x.dll", 12},
        {L"C:\\x.dll,- 4", L"C:\\x.dll", 0},             // a sign then a blank: no digits
        {L"C:\\a,b\\x.dll,1", L"C:\\a,b\\x.dll", 1},     // the last comma counts
        {L"\"C:\\x y\\z.exe\",1", L"\"C:\\x y\\z.exe\"", 1}, // quotes stay
        {L"%SystemRoot%\\x.dll,2", L"%SystemRoot%\\x.dll", 2},
        {L"x.dll,99999999999999", L"x.dll", 2147483647}, // saturates, never overflows
        {L"x.dll,-2147483648", L"x.dll", -2147483647 - 1}, // the int range's far end
        {L"", L"", 0},
    };
    for (const Case& c : cases) {
        std::wstring file = L"unchanged";
        int index = -7;
        ParseIconSpecification(c.spec, file, index);
        EXPECT_EQ(c.file, file) << c.spec;
        EXPECT_EQ(c.index, index) << c.spec;
    }
}

TEST(TypeIcon, FollowsTheExtensionToItsTypeAndReadsDefaultIcon)
{
    CRegistrySandbox sandbox;
    WriteRawValue(HKEY_CLASSES_ROOT, L".vrb", L"", REG_SZ, std::wstring(L"Verbosa.Doc\0", 12));
    WriteRawValue(HKEY_CLASSES_ROOT, L"Verbosa.Doc\\DefaultIcon", L"", REG_SZ, std::wstring(L"C:\\v.dll, -2\0", 14));
    WriteRawValue(HKEY_CLASSES_ROOT, L".notype", L"", REG_SZ, std::wstring(L"Missing.Type\0", 13));
    WriteStringValue(HKEY_CLASSES_ROOT, L".long", L"", std::wstring(300, 'L'));
    CreateKey(HKEY_CLASSES_ROOT, L".novalue");

    std::wstring file = L"unchanged";
    int index = 5;
    ASSERT_TRUE(GetTypeIcon(L".vrb", file, index));
    EXPECT_EQ(L"C:\\v.dll", file);
    EXPECT_EQ(-2, index);

    for (const wchar_t* extension : {L".none", L".notype", L".long", L".novalue"}) {
        file = L"unchanged";
        EXPECT_FALSE(GetTypeIcon(extension, file, index)) << WideToAnsi(extension, wcslen(extension));
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
    WriteFileBytes(bare, L"not a program");
    EXPECT_EQ(nullptr, ExtractOneIcon(bare, 0, false));
    CIconHandle fallback(GetTargetIcon(bare, false));
    EXPECT_TRUE(fallback);

    // A type whose icon file is a placeholder: no icon, no further fallback.
    CRegistrySandbox sandbox;
    WriteRawValue(HKEY_CLASSES_ROOT, L".ghost", L"", REG_SZ, std::wstring(L"Ghost.File\0", 11));
    WriteRawValue(HKEY_CLASSES_ROOT, L"Ghost.File\\DefaultIcon", L"", REG_SZ, std::wstring(L"%1\0", 3));
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
    const std::wstring toolUtf8 = WideToUtf8(tool).value();
    EXPECT_EQ((IconChoice{toolUtf8, 0, L"SHELL32.DLL", 2}), ChooseTargetIcon(tool, SystemIconQueries()));
    EXPECT_EQ((IconChoice{L"SHELL32.DLL", 4, {}, 0}), ChooseTargetIcon(tools, SystemIconQueries()));
    // An unpaired surrogate names nothing the rule can read: the plain icon.
    EXPECT_EQ((IconChoice{L"SHELL32.DLL", 0, {}, 0}), ChooseTargetIcon(tools + L"\\\xD800.exe", SystemIconQueries()));

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
