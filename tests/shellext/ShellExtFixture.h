#pragma once
// Loads the built Tesselator.dll into the test process and gives the tests
// its exports, a scratch registry and helpers for the Fast Folder store.
#include "contract/StoreContract.h"
#include "framework/Handles.h"
#include "framework/Utf16.h"
#include "tests/support/RegistrySandbox.h"
#include "tests/support/TempFolder.h"

#include "TesselatorLib.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

// The exports of the library, resolved by name (as regsvr32 and COM do).
struct TesselatorExports {
    HMODULE module = nullptr;
    HRESULT(WINAPI* canUnloadNow)() = nullptr;
    HRESULT(WINAPI* getClassObject)(REFCLSID, REFIID, void**) = nullptr;
    HRESULT(WINAPI* registerServer)() = nullptr;
    HRESULT(WINAPI* unregisterServer)() = nullptr;
    HRESULT(WINAPI* install)(BOOL, PCWSTR) = nullptr;
};
// Loaded once for the whole process and never freed.
const TesselatorExports& Tesselator();

std::wstring TesselatorPath();

// A loaded module's import entry for library (case-insensitive), or null.
const IMAGE_IMPORT_DESCRIPTOR* FindImport(HMODULE module, const char* library);

inline const std::wstring kStoreKey = AsciiToWide(contract::kFastFolderKey);
inline const std::wstring kClassId = AsciiToWide(contract::kExtensionClassId);
inline const std::wstring kLibraryId = L"{D5503CB6-82E3-4CF5-9504-96FE6BCE8B6F}";
inline const std::wstring kInterfaceId = L"{4B000FE9-1BA2-4170-8261-29C7843C24E4}";
inline const std::wstring kApprovedKey = AsciiToWide(contract::kApprovedKey);

// The ids a menu over n aliases uses with the nested submenu (the default):
// the aliases, "Settings...", the placeholder and ten open folders.
constexpr int kOpenFolderIds = 11;
constexpr int MenuIds(int aliases) { return aliases + 1 + kOpenFolderIds; }

// Writes the store as the program does: "0".."n-1" and "00".."nn".
void WriteStore(const std::vector<std::wstring>& aliases, const std::vector<std::wstring>& paths);
void WriteStoreText(const std::wstring& name, const std::wstring& text);
std::vector<std::wstring> NumberedAliases(int count);

// A scratch registry, COM, and the store key (without items).
class ShellExtTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A fresh handler, asked for interface I.
    template <typename I>
    void CreateHandler(CInterfacePtr<I>& handler, REFIID iid)
    {
        CInterfacePtr<IClassFactory> factory;
        ASSERT_EQ(S_OK, Tesselator().getClassObject(CLSID_SimpleShlExt, IID_IClassFactory, factory.PutVoid()));
        ASSERT_EQ(S_OK, factory->CreateInstance(nullptr, iid, handler.PutVoid()));
    }

    // Initialize with a real folder and QueryContextMenu into a fresh menu;
    // returns the menu (the caller destroys it) and the call's result.
    HMENU BuildMenu(IContextMenu* menu, HRESULT& result, UINT indexMenu = 0, UINT first = 100, UINT last = 0x7FFF,
                    UINT flags = CMF_NORMAL);

    CRegistrySandbox m_sandbox;
    bool m_comReady = false;
};

// An item-ID list for a file-system folder (freed with ILFree).
PIDLIST_ABSOLUTE FolderPidl(const std::wstring& path);

// InvokeCommand with a command offset (or a string verb as its address).
HRESULT InvokeVerb(IContextMenu* menu, UINT_PTR verb);

// A menu item's fields named by mask, by position (all zero when missing).
MENUITEMINFOW MenuItemAt(HMENU menu, int position, UINT mask);
// A menu item's text as the wide call reads it back.
std::wstring MenuTextAt(HMENU menu, int position);
// Every item's text, in order.
std::vector<std::wstring> MenuTexts(HMENU menu);

// UTF-8 and UTF-16 of test data ("" / L"" where it does not convert).
std::string Utf8(const std::wstring& text);
std::wstring Wide(const std::string& utf8);
// Paths compare without regard to case.
std::wstring Lower(std::wstring text);

// A folder made with the wide call, removed (empty) when it goes.
class CWideFolder {
public:
    explicit CWideFolder(std::wstring path);
    ~CWideFolder();
    CWideFolder(const CWideFolder&) = delete;
    CWideFolder& operator=(const CWideFolder&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// Replaces the DACL of an existing key (SDDL text).
void SetKeyDacl(HKEY root, const std::wstring& key, const wchar_t* sddl);

// Starts a command line and waits for it; the exit code, or -1.
DWORD RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000);

// The stand-in for what the extension starts (shellext_recorder.exe): while
// this object lives, it writes its command line into a scratch log.
class CRecorderLog {
public:
    CRecorderLog();
    ~CRecorderLog();
    CRecorderLog(const CRecorderLog&) = delete;
    CRecorderLog& operator=(const CRecorderLog&) = delete;

    static std::wstring ProgramPath();
    // The shell's "open" on a folder (a new window on it) starts the
    // recorder: the Folder class's open command in the scratch registry.
    static void StandInForNewWindows();
    // The recorded command line once it is there, and the log is cleared;
    // empty when nothing came within the wait.
    std::string Wait(DWORD timeoutMs) const;

private:
    CTempProgramFolder m_folder{false, L"-log"};
    std::wstring m_log = m_folder.Path() + L"\\started.txt";
};
