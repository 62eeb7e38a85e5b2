#include "tests/shellext/ShellExtFixture.h"

#include "shellext/WideText.h"

#include <sddl.h>

namespace {

template <typename F>
void Resolve(HMODULE module, const char* name, F& function)
{
    function = reinterpret_cast<F>(GetProcAddress(module, name));
}

} // namespace

std::wstring TesselatorPath() { return BinFolder() + L"\\Tesselator.dll"; }

const TesselatorExports& Tesselator()
{
    static const TesselatorExports exports = [] {
        TesselatorExports e;
        e.module = LoadLibraryW(TesselatorPath().c_str());
        if (e.module) {
            Resolve(e.module, "DllCanUnloadNow", e.canUnloadNow);
            Resolve(e.module, "DllGetClassObject", e.getClassObject);
            Resolve(e.module, "DllRegisterServer", e.registerServer);
            Resolve(e.module, "DllUnregisterServer", e.unregisterServer);
            Resolve(e.module, "DllInstall", e.install);
        }
        return e;
    }();
    return exports;
}

void WriteStoreText(const std::wstring& name, const std::wstring& text)
{
    WriteStringValue(HKEY_CURRENT_USER, kStoreKey, name, text);
}

void WriteStore(const std::vector<std::wstring>& aliases, const std::vector<std::wstring>& paths)
{
    for (size_t i = 0; i < aliases.size(); ++i) {
        const std::wstring index = std::to_wstring(i);
        WriteStoreText(index, aliases[i]);
        if (i < paths.size())
            WriteStoreText(index + index, paths[i]);
    }
}

std::vector<std::wstring> NumberedAliases(int count)
{
    std::vector<std::wstring> aliases;
    for (int i = 0; i < count; ++i)
        aliases.push_back(L"Alias " + std::to_wstring(i));
    return aliases;
}

void ShellExtTest::SetUp()
{
    ASSERT_NE(nullptr, Tesselator().module) << "cannot load " << Utf8(TesselatorPath());
    m_comReady = SUCCEEDED(CoInitialize(nullptr));
    CreateKey(HKEY_CURRENT_USER, kStoreKey);
}

void ShellExtTest::TearDown()
{
    if (m_comReady)
        CoUninitialize();
}

HMENU ShellExtTest::BuildMenu(IContextMenu* menu, HRESULT& result, UINT indexMenu, UINT first, UINT last, UINT flags)
{
    result = E_FAIL;
    CInterfacePtr<IShellExtInit> init;
    if (FAILED(menu->QueryInterface(IID_IShellExtInit, init.PutVoid())))
        return nullptr;
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    PIDLIST_ABSOLUTE folder = FolderPidl(windows);
    const HRESULT initialized = init->Initialize(folder, nullptr, nullptr);
    ILFree(folder);
    if (FAILED(initialized)) {
        result = initialized;
        return nullptr;
    }
    HMENU shellMenu = CreatePopupMenu();
    // Entries of other handlers around the insertion point.
    AppendMenuW(shellMenu, MF_STRING, 1, L"Before");
    AppendMenuW(shellMenu, MF_STRING, 2, L"After");
    result = menu->QueryContextMenu(shellMenu, indexMenu, first, last, flags);
    return shellMenu;
}

const IMAGE_IMPORT_DESCRIPTOR* FindImport(HMODULE module, const char* library)
{
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const LONG headersAt = reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew;
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + headersAt);
    const DWORD imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports); entry->Name; ++entry) {
        if (_stricmp(reinterpret_cast<const char*>(base + entry->Name), library) == 0)
            return entry;
    }
    return nullptr;
}

PIDLIST_ABSOLUTE FolderPidl(const std::wstring& path)
{
    return ILCreateFromPathW(path.c_str());
}

DWORD RunAndWait(const std::wstring& commandLine, DWORD timeoutMs)
{
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring line = commandLine;
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void SetKeyDacl(HKEY root, const std::wstring& key, const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(root, key.c_str(), 0, WRITE_DAC, &handle));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor));
    RegCloseKey(handle);
    LocalFree(descriptor);
}

MENUITEMINFOW MenuItemAt(HMENU menu, int position, UINT mask)
{
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = mask;
    if (!GetMenuItemInfoW(menu, position, TRUE, &item))
        item = {};
    return item;
}

std::vector<std::wstring> MenuTexts(HMENU menu)
{
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
        texts.push_back(MenuTextAt(menu, i));
    return texts;
}

std::wstring MenuTextAt(HMENU menu, int position)
{
    wchar_t text[300] = {};
    MENUITEMINFOW item = {};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = text;
    item.cch = 300;
    return GetMenuItemInfoW(menu, position, TRUE, &item) ? text : L"<missing>";
}

std::string Utf8(const std::wstring& text) { return tesselator::WideToUtf8(text).value_or(""); }
std::wstring Wide(const std::string& utf8) { return tesselator::Utf8ToWide(utf8).value_or(L""); }

std::wstring Lower(std::wstring text)
{
    CharLowerW(text.data());
    return text;
}

CWideFolder::CWideFolder(std::wstring path) : m_path(std::move(path))
{
    EXPECT_TRUE(CreateDirectoryW(m_path.c_str(), nullptr)) << Utf8(m_path);
}

CWideFolder::~CWideFolder() { RemoveDirectoryW(m_path.c_str()); }

HRESULT InvokeVerb(IContextMenu* menu, UINT_PTR verb)
{
    CMINVOKECOMMANDINFO info = {};
    info.cbSize = sizeof info;
    info.lpVerb = reinterpret_cast<LPCSTR>(verb);
    info.nShow = SW_SHOWNORMAL;
    return menu->InvokeCommand(&info);
}

CRecorderLog::CRecorderLog()
{
    SetEnvironmentVariableW(L"VERBOSA_RECORDER_LOG", m_log.c_str());
}

CRecorderLog::~CRecorderLog()
{
    SetEnvironmentVariableW(L"VERBOSA_RECORDER_LOG", nullptr);
}

std::wstring CRecorderLog::ProgramPath() { return BinFolder() + L"\\shellext_recorder.exe"; }

void CRecorderLog::StandInForNewWindows()
{
    const std::wstring command = L"\"" + ProgramPath() + L"\" \"%1\"";
    for (const wchar_t* key : {L"Folder\\shell\\open\\command", L"Directory\\shell\\open\\command"})
        WriteStringValue(HKEY_CLASSES_ROOT, key, L"", command);
}

std::string CRecorderLog::Wait(DWORD timeoutMs) const
{
    std::string line;
    for (DWORD waited = 0; line.empty() && waited < timeoutMs; waited += 100) {
        Sleep(100);
        line = ReadFileBytes(m_log);
    }
    DeleteFileW(m_log.c_str());
    return line;
}
