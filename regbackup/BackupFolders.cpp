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

const wchar_t* Wide(const std::u16string& text)
{
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::string SidText(PSID sid)
{
    LPWSTR text = nullptr;
    if (!sid || !ConvertSidToStringSidW(sid, &text))
        return {};
    CLocalMemory hold(text);
    return Utf16ToAnsi(reinterpret_cast<const char16_t*>(text));
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

bool ReadFolderSecurity(const std::u16string& folder, FolderSecurity& security)
{
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(Wide(folder), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION,
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
bool IsAdministratorsItem(const std::u16string& path, bool folder)
{
    const DWORD attributes = GetFileAttributesW(Wide(path));
    if (attributes == INVALID_FILE_ATTRIBUTES || ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    FolderSecurity security;
    return ReadFolderSecurity(path, security) && OnlyAdministratorsWrite(security, ProcessUser());
}

bool IsAdministratorsFolder(const std::u16string& folder)
{
    return IsAdministratorsItem(folder, true);
}

// Makes the folder with the administrators' DACL, or gives an existing one
// that others can change that DACL and owner again.
bool MakeAdministratorsFolder(const std::u16string& folder, std::string& why)
{
    PSECURITY_DESCRIPTOR raw = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kMachineFolderSecurity, SDDL_REVISION_1, &raw,
                                                              nullptr)) {
        why = SystemErrorText(static_cast<LONG>(GetLastError()));
        return false;
    }
    CLocalMemory descriptor(raw);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, raw, FALSE};
    if (CreateDirectoryW(Wide(folder), &attributes))
        return true;
    const DWORD error = GetLastError();
    const DWORD existing = GetFileAttributesW(Wide(folder));
    if (error != ERROR_ALREADY_EXISTS || existing == INVALID_FILE_ATTRIBUTES || !(existing & FILE_ATTRIBUTE_DIRECTORY)) {
        why = "Could not create the folder " + Utf16ToAnsi(folder) + ": " + SystemErrorText(static_cast<LONG>(error));
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
    std::u16string path = folder;
    const DWORD repaired = SetNamedSecurityInfoW(
        reinterpret_cast<LPWSTR>(path.data()), SE_FILE_OBJECT,
        OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, owner, nullptr,
        dacl, nullptr);
    if (repaired == ERROR_SUCCESS && IsAdministratorsFolder(folder))
        return true;
    why = "The folder " + Utf16ToAnsi(folder) +
          " can be changed by users without administrator rights, and its permissions could not be corrected: " +
          SystemErrorText(static_cast<LONG>(repaired));
    return false;
}

} // namespace

std::string BackupFolder(CommandScope scope)
{
    const std::string data = scope == CommandScope::user ? LocalDataFolder() : MachineDataFolder();
    return data.empty() ? std::string() : data + "\\Backups";
}

bool PrepareBackupFolder(CommandScope scope, std::string& why)
{
    const std::string data = scope == CommandScope::user ? LocalDataFolder() : MachineDataFolder();
    std::u16string wideData;
    if (data.empty() || !AnsiToUtf16(data, wideData)) {
        why = "Windows names no folder for the backups.";
        return false;
    }
    const std::u16string folder = wideData + u"\\Backups";
    if (scope == CommandScope::machine)
        return MakeAdministratorsFolder(wideData, why) && MakeAdministratorsFolder(folder, why);
    const int made = SHCreateDirectoryExW(nullptr, Wide(folder), nullptr);
    if (made == ERROR_SUCCESS || made == ERROR_ALREADY_EXISTS || made == ERROR_FILE_EXISTS)
        return true;
    why = "Could not create the backup folder " + Utf16ToAnsi(folder) + ": " + SystemErrorText(made);
    return false;
}

bool IsTrustedBackupFolder(CommandScope scope, std::string& why)
{
    if (scope == CommandScope::user)
        return true;
    const std::string folder = BackupFolder(scope);
    std::u16string wide;
    if (!folder.empty() && AnsiToUtf16(folder, wide) && IsAdministratorsFolder(wide))
        return true;
    if (folder.empty() || GetFileAttributesW(Wide(wide)) == INVALID_FILE_ATTRIBUTES) {
        why = "The backup folder " + folder + " does not exist.";
        return false;
    }
    why = "The folder " + folder + " can be changed by users without administrator rights, so its backups are not used.";
    return false;
}

bool IsTrustedBackupFile(CommandScope scope, const std::string& file, std::string& why)
{
    if (scope == CommandScope::user)
        return true;
    if (!IsTrustedBackupFolder(scope, why))
        return false;
    std::u16string wide;
    if (AnsiToUtf16(file, wide) && IsAdministratorsItem(wide, false))
        return true;
    why = "The file can be changed by users without administrator rights, so it is not used.";
    return false;
}
