#include "regbackup/BackupFolders.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/ProgramFolders.h"
#include "regbackup/BackupTrustRules.h"
#include "regbackup/KeyTree.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

namespace {

// SYSTEM and Administrators full control, Users read, nothing inherited
// from %ProgramData% (which lets every user create folders).
constexpr wchar_t kMachineFolderSecurity[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

std::string SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (!sid || !ConvertSidToStringSidW(sid, &text))
        return {};
    CLocalMemory hold(text);
    return WideToUtf8(text).value_or(std::string()); // digits, dashes and S
}

// The user this process runs as.
std::string ProcessUser()
{
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return {};
    CKernelHandle token(raw);
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (size == 0 || !GetTokenInformation(token.Get(), TokenUser, buffer.data(), size, &size))
        return {};
    return SidText(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

bool ReadFolderSecurity(const std::wstring& folder, FolderSecurity& security)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
                              &owner, nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    CLocalMemory hold(descriptor);
    security.owner = SidText(owner);
    security.hasDacl = dacl != nullptr;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        void* raw = nullptr;
        if (!GetAce(dacl, i, &raw))
            return false;
        const auto* header = static_cast<ACE_HEADER*>(raw);
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE) {
            // A form this check does not read: counted as letting anyone write.
            security.dacl.push_back({"?", true, 0xFFFFFFFF});
            continue;
        }
        const auto* ace = static_cast<ACCESS_ALLOWED_ACE*>(raw);
        security.dacl.push_back({SidText(const_cast<DWORD*>(&ace->SidStart)),
                                 header->AceType == ACCESS_ALLOWED_ACE_TYPE, ace->Mask});
    }
    return true;
}

// The folder or file itself (not a link to another) and only administrators
// can change it.
bool IsAdministratorsItem(const std::wstring& path, bool folder)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    FolderSecurity security;
    return ReadFolderSecurity(path, security) && OnlyAdministratorsWrite(security, ProcessUser());
}

bool IsAdministratorsFolder(const std::wstring& folder)
{
    return IsAdministratorsItem(folder, true);
}

// Makes the folder with the administrators' DACL, or gives an existing one
// that others can change that DACL and owner again.
bool MakeAdministratorsFolder(const std::wstring& folder, std::wstring& why)
{
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kMachineFolderSecurity, SDDL_REVISION_1, &raw,
                                                              nullptr)) {
        why = SystemErrorText(static_cast<LONG>(GetLastError()));
        return false;
    }
    CLocalMemory descriptor(raw);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, raw, FALSE};
    if (CreateDirectoryW(folder.c_str(), &attributes))
        return true;
    const DWORD error = GetLastError();
    const DWORD existing = GetFileAttributesW(folder.c_str());
    if (error != ERROR_ALREADY_EXISTS || existing == INVALID_FILE_ATTRIBUTES || !(existing & FILE_ATTRIBUTE_DIRECTORY)) {
        why = L"Could not create the folder " + folder + L": " + SystemErrorText(static_cast<LONG>(error));
        return false;
    }
    if (IsAdministratorsFolder(folder))
        return true;
    PSID owner = nullptr;
    PACL dacl = nullptr;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    GetSecurityDescriptorOwner(raw, &owner, &defaulted);
    GetSecurityDescriptorDacl(raw, &present, &dacl, &defaulted);
    std::wstring path = folder;
    const DWORD repaired = SetNamedSecurityInfoW(
        path.data(), SE_FILE_OBJECT,
        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, owner, nullptr,
        dacl, nullptr);
    if (repaired == ERROR_SUCCESS && IsAdministratorsFolder(folder))
        return true;
    why = L"The folder " + folder +
          L" can be changed by users without administrator rights, and its permissions could not be corrected: " +
          SystemErrorText(static_cast<LONG>(repaired));
    return false;
}

} // namespace

std::wstring BackupFolder(CommandScope scope)
{
    const std::wstring data = scope == CommandScope::user ? LocalDataFolder() : MachineDataFolder();
    return data.empty() ? std::wstring() : data + L"\\Backups";
}

bool PrepareBackupFolder(CommandScope scope, std::wstring& why)
{
    const std::wstring data = scope == CommandScope::user ? LocalDataFolder() : MachineDataFolder();
    if (data.empty()) {
        why = L"Windows names no folder for the backups.";
        return false;
    }
    const std::wstring folder = data + L"\\Backups";
    if (scope == CommandScope::machine)
        return MakeAdministratorsFolder(data, why) && MakeAdministratorsFolder(folder, why);
    const int made = SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS || made == ERROR_FILE_EXISTS)
        return true;
    why = L"Could not create the backup folder " + folder + L": " + SystemErrorText(made);
    return false;
}

bool IsTrustedBackupFolder(CommandScope scope, std::wstring& why)
{
    if (scope == CommandScope::user)
        return true;
    const std::wstring folder = BackupFolder(scope);
    if (!folder.empty() && IsAdministratorsFolder(folder))
        return true;
    if (folder.empty() || GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        why = L"The backup folder " + folder + L" does not exist.";
        return false;
    }
    why = L"The folder " + folder + L" can be changed by users without administrator rights, so its backups are not used.";
    return false;
}

bool IsTrustedBackupFile(CommandScope scope, const std::wstring& file, std::wstring& why)
{
    if (scope == CommandScope::user)
        return true;
    if (!IsTrustedBackupFolder(scope, why))
        return false;
    if (IsAdministratorsItem(file, false))
        return true;
    why = L"The file can be changed by users without administrator rights, so it is not used.";
    return false;
}
