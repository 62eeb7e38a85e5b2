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

std::string TesselatorPath() { return BinFolder() + "\\Tesselator.dll"; }

const TesselatorExports& Tesselator()
{
    static const TesselatorExports exports = [] {
        TesselatorExports e;
        e.module = LoadLibraryA(TesselatorPath().c_str());
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

void WriteStore(const std::vector<std::string>& aliases, const std::vector<std::string>& paths)
{
    for (size_t i = 0; i < aliases.size(); ++i) {
        const std::string index = std::to_string(i);
        WriteRawValue(HKEY_CURRENT_USER, kStoreKey, index, REG_SZ, aliases[i] + std::string(1, '\0'));
        if (i < paths.size())
            WriteRawValue(HKEY_CURRENT_USER, kStoreKey, index + index, REG_SZ, paths[i] + std::string(1, '\0'));
    }
}

void WriteStoreText(const std::wstring& name, const std::wstring& text)
{
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, Wide(kStoreKey).c_str(), 0, nullptr, 0,
                                             KEY_SET_VALUE, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
    RegCloseKey(key);
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

std::vector<std::string> NumberedAliases(int count)
{
    std::vector<std::string> aliases;
    for (int i = 0; i < count; ++i)
        aliases.push_back("Alias " + std::to_string(i));
    return aliases;
}

void ShellExtTest::SetUp()
{
    ASSERT_NE(nullptr, Tesselator().module) << "cannot load " << TesselatorPath();
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
    char windows[MAX_PATH] = {};
    GetWindowsDirectoryA(windows, MAX_PATH);
    PIDLIST_ABSOLUTE folder = FolderPidl(windows);
    const HRESULT initialized = init->Initialize(folder, nullptr, nullptr);
    ILFree(folder);
    if (FAILED(initialized)) {
        result = initialized;
        return nullptr;
    }
    HMENU shellMenu = CreatePopupMenu();
    // Entries of other handlers around the insertion point.
    AppendMenuA(shellMenu, MF_STRING, 1, "Before");
    AppendMenuA(shellMenu, MF_STRING, 2, "After");
    result = menu->QueryContextMenu(shellMenu, indexMenu, first, last, flags);
    return shellMenu;
}

PIDLIST_ABSOLUTE FolderPidl(const std::string& path)
{
    return ILCreateFromPathA(path.c_str());
}

DWORD RunAndWait(const std::string& commandLine, DWORD timeoutMs)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return static_cast<DWORD>(-1);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

void SetKeyDacl(HKEY root, const std::string& key, const char* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr));
    HKEY handle = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(root, key.c_str(), 0, WRITE_DAC, &handle));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, descriptor));
    RegCloseKey(handle);
    LocalFree(descriptor);
}

MENUITEMINFOA MenuItemAt(HMENU menu, int position, UINT mask)
{
    MENUITEMINFOA item = {};
    item.cbSize = sizeof item;
    item.fMask = mask;
    if (!GetMenuItemInfoA(menu, position, TRUE, &item))
        item = {};
    return item;
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
    SetEnvironmentVariableA("VERBOSA_RECORDER_LOG", m_log.c_str());
}

CRecorderLog::~CRecorderLog()
{
    SetEnvironmentVariableA("VERBOSA_RECORDER_LOG", nullptr);
}

std::string CRecorderLog::ProgramPath() { return BinFolder() + "\\shellext_recorder.exe"; }

void CRecorderLog::StandInForNewWindows()
{
    const std::string command = "\"" + ProgramPath() + "\" \"%1\"";
    for (const char* key : {"Folder\\shell\\open\\command", "Directory\\shell\\open\\command"})
        WriteRawValue(HKEY_CLASSES_ROOT, key, "", REG_SZ, command + std::string(1, '\0'));
}

std::string CRecorderLog::Wait(DWORD timeoutMs) const
{
    std::string line;
    for (DWORD waited = 0; line.empty() && waited < timeoutMs; waited += 100) {
        Sleep(100);
        line = ReadFileBytes(m_log);
    }
    DeleteFileA(m_log.c_str());
    return line;
}
