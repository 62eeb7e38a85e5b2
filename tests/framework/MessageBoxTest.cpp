#include "framework/AppInfo.h"
#include "framework/FileError.h"
#include "framework/MessageBox.h"
#include "resources/Texts.h"
#include "tests/support/MessageBoxRecorder.h"

#include <gtest/gtest.h>

namespace {

TEST(MessageBoxRoutine, AddsTheExclamationIconOnlyWhenTheCallerNamesNone)
{
    EXPECT_EQ(UINT(MB_OK | MB_ICONEXCLAMATION), AppMessageBoxType(MB_OK));
    EXPECT_EQ(UINT(MB_OKCANCEL | MB_ICONEXCLAMATION), AppMessageBoxType(MB_OKCANCEL));
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONEXCLAMATION), AppMessageBoxType(MB_YESNO));
    EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONEXCLAMATION), AppMessageBoxType(MB_YESNOCANCEL));
    EXPECT_EQ(UINT(MB_RETRYCANCEL), AppMessageBoxType(MB_RETRYCANCEL));
    EXPECT_EQ(UINT(MB_OK | MB_ICONINFORMATION), AppMessageBoxType(MB_OK | MB_ICONINFORMATION));
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), AppMessageBoxType(MB_YESNO | MB_ICONQUESTION));
}

TEST(MessageBoxRoutine, CaptionIsTheExecutableTitleAndAnswersComeFromTheHook)
{
    CMessageBoxRecorder boxes;
    boxes.Answer(IDYES);
    EXPECT_EQ(IDYES, AppMessageBox(L"Sure?", MB_YESNO | MB_ICONQUESTION));
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"test_framework", boxes.Boxes()[0].caption);
    EXPECT_EQ(L"Sure?", boxes.Boxes()[0].text);
    EXPECT_EQ(UINT(MB_YESNO | MB_ICONQUESTION), boxes.Boxes()[0].type);

    EXPECT_EQ(L"quillon", TitleFromPath(L"C:\\Program Files\\Verbosa\\quillon.exe"));
    EXPECT_EQ(L"a.b", TitleFromPath(L"C:\\x.y\\a.b.exe"));
    EXPECT_EQ(L"noext", TitleFromPath(L"noext"));
}

TEST(StringTable, NumberedTextsKeepTheAcuteAccent)
{
    const std::wstring text = LoadAppString(IDS_NO_REGISTRY_ACCESS);
    EXPECT_EQ(L"Couldn\xB4t access the registry, make sure you have administrator rights!", text);
    EXPECT_EQ(L"Couldn\xB4t create shortcut!", LoadAppString(IDS_NO_SHORTCUT_CREATED));
    EXPECT_EQ(L"Software\\Kelto\\quillon30", LoadAppString(IDS_SETTINGS_KEY));
    EXPECT_EQ(L"This is a system command, created by other applications than Verbosa!\n"
              L"Are you absolutely sure you want to delete it?",
              LoadAppString(IDS_SYSTEM_DELETE_WARNING));

    CMessageBoxRecorder boxes;
    AppMessageBox(IDS_NO_COMMAND_DELETED, MB_OK);
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(L"Couldn\xB4t delete command!", boxes.Boxes()[0].text);
}

TEST(FileErrors, TextsNameTheFileAndTheCause)
{
    EXPECT_EQ(L"C:\\x\\run_a.cfg was not found.",
              CFileError(CFileError::CauseFromWin32(ERROR_FILE_NOT_FOUND), L"C:\\x\\run_a.cfg").GetMessageText());
    EXPECT_EQ(L"Access to C:\\a was denied.",
              CFileError(CFileError::CauseFromWin32(ERROR_ACCESS_DENIED), L"C:\\a").GetMessageText());
    EXPECT_EQ(L"A sharing violation occurred while accessing C:\\a.",
              CFileError(CFileError::CauseFromWin32(ERROR_SHARING_VIOLATION), L"C:\\a").GetMessageText());
    EXPECT_EQ(CFileError::badPath, CFileError::CauseFromWin32(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(CFileError::generic, CFileError::CauseFromWin32(12345));

    CMessageBoxRecorder boxes;
    CFileError(CFileError::fileNotFound, L"C:\\f").Report();
    ASSERT_EQ(1u, boxes.Boxes().size());
    EXPECT_EQ(UINT(MB_OK | MB_ICONSTOP), boxes.Boxes()[0].type);
    EXPECT_EQ(L"C:\\f was not found.", boxes.Boxes()[0].text);
}

} // namespace
