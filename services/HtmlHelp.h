#pragma once
// The program's binding to the HTML Help viewer: the control library is
// found through its registration, or in the system folder, on first use.
// A failed binding is final: later calls do nothing.
#include <windows.h>

#include <functional>
#include <string>

// HtmlHelpW of the control library; nullptr when help cannot be opened.
HWND CallHtmlHelp(HWND caller, const std::wstring& path, UINT command, DWORD_PTR data);

// Opens a help path (a .chm, or a .chm::/topic.htm) with HH_DISPLAY_TOPIC,
// the application's main window as caller.
void ShowHelpTopic(const std::wstring& path);

// Help file beside the program and the topics the program opens.
std::wstring HelpFilePath();
std::wstring HelpTopicPath(const wchar_t* topic);
inline constexpr const wchar_t* kCommandHelpTopic = L"Creating_A_Command.htm";
inline constexpr const wchar_t* kFastFolderHelpTopic = L"Creating_A_Fast_Folder.htm";

// The binding on its own, so that its rules can be tested with a loader of
// the test's choosing. The process uses one instance with LoadLibraryExW.
class CHtmlHelpBinding {
public:
    using Entry = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    // Loads a library by full path; nullptr when it cannot.
    using Loader = std::function<HMODULE(const std::wstring& fullPath)>;

    explicit CHtmlHelpBinding(Loader loader);
    ~CHtmlHelpBinding();
    CHtmlHelpBinding(const CHtmlHelpBinding&) = delete;
    CHtmlHelpBinding& operator=(const CHtmlHelpBinding&) = delete;

    // Binds on the first call; the entry point, or nullptr once failed.
    Entry Bind();
    bool Failed() const { return m_failed; }

private:
    Loader m_loader;
    HMODULE m_library = nullptr;
    Entry m_entry = nullptr;
    bool m_failed = false;
};

// Where the control library may come from: the registered path when it is
// absolute, and the system folder. Never a bare name, which would search
// the current and the program's folder first.
std::wstring RegisteredHtmlHelpPath();
std::wstring SystemHtmlHelpPath();
bool IsAbsolutePath(const std::wstring& path);

// A call of the viewer, as the services' stand-in receives it.
struct HtmlHelpRequest {
    HWND caller;
    std::wstring path;
    UINT command;
    DWORD_PTR data;
};
