#include "regbackup/AppPathsBackup.h"

#include "apppaths/AppPathsRoot.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/Sha256.h"
#include "framework/Utf16.h"
#include "regbackup/BackupTrustRules.h"
#include "regbackup/KeyTree.h"

#include <windows.h>

#include <algorithm>

namespace {

// Names tried for the backups of one entry within one second.
constexpr int kMaxAttempts = 100;

std::u16string EntryPath(const std::u16string& keyName)
{
    return std::u16string(kAppPathsKeyUtf16) + u'\\' + keyName;
}

BackupStamp StampOf(const SYSTEMTIME& time)
{
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

} // namespace

BackupStamp BackupStampNow()
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return StampOf(now);
}

namespace {

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// A new file with the bytes; an existing file of the name is never touched.
bool WriteNewBackupFile(const std::wstring& folder, const std::u16string& keyName, const std::string& bytes,
                        const BackupStamp& stamp, std::wstring& file, std::wstring& why)
{
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        file = folder + L"\\" + ToWide(BackupFileName(keyName, stamp, attempt));
        CFileHandle handle(
            CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            why = L"Could not create " + file + L": " + SystemErrorText(static_cast<LONG>(error));
            return false;
        }
        DWORD written = 0;
        const bool good = WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                    nullptr) &&
                          written == bytes.size() && FlushFileBuffers(handle.Get());
        const DWORD error = GetLastError();
        handle.Reset();
        if (!good) {
            DeleteFileW(file.c_str());
            why = L"Could not write " + file + L": " + SystemErrorText(static_cast<LONG>(error));
            return false;
        }
        return true;
    }
    why = L"Too many backups of this entry were made within one second.";
    return false;
}

// Captures the entry, checks that its file reads back to the same tree and
// writes it. The captured tree is handed back.
BackupResult BackUpEntry(CommandScope scope, const std::u16string& keyName, RegKey& tree,
                         const BackupStamp& stamp = BackupStampNow())
{
    BackupResult result;
    const LONG error = CaptureKeyTree(AppPathsRoot(scope), EntryPath(keyName), tree);
    if (error != ERROR_SUCCESS) {
        result.why = L"Could not read the entry " + ToWide(keyName) + L": " + SystemErrorText(error);
        return result;
    }
    tree.name = AppPathsEntryRegPath(scope, keyName);
    std::string bytes;
    if (std::string why; !WriteRegFile(tree, bytes, why)) {
        result.why = ShownUtf8(why);
        return result;
    }
    if (!(ReadRegFile(bytes).root == tree)) {
        result.why = L"The entry's backup would not read back as the entry is.";
        return result;
    }
    result.sha256 = Sha256Hex(bytes);
    if (result.sha256.empty()) {
        result.why = L"The backup's checksum could not be computed.";
        return result;
    }
    if (!PrepareBackupFolder(scope, result.why))
        return result;
    result.saved = WriteNewBackupFile(BackupFolder(scope), keyName, bytes, stamp, result.file, result.why);
    return result;
}

bool ReadWholeFile(const std::wstring& file, std::string& bytes, std::wstring& why)
{
    CFileHandle handle(CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!handle || !GetFileSizeEx(handle.Get(), &size)) {
        why = L"Could not read the file: " + SystemErrorText(static_cast<LONG>(GetLastError()));
        return false;
    }
    if (size.QuadPart > static_cast<LONGLONG>(kMaxRegFileBytes)) {
        why = L"The file is larger than any backup of Verbosa.";
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(handle.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) ||
            got == 0) {
            why = L"Could not read the file: " + SystemErrorText(static_cast<LONG>(GetLastError()));
            return false;
        }
        done += got;
    }
    return true;
}

// The stamp a file's name carries, else its last change in local time.
void StampFile(AppPathsBackup& backup)
{
    if (ParseBackupFileName(ToUtf16(FileNameOf(backup.file)), backup.stamp, backup.attempt))
        return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    SYSTEMTIME time{};
    if (GetFileAttributesExW(backup.file.c_str(), GetFileExInfoStandard, &data) &&
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &time))
        backup.stamp = StampOf(time);
}

} // namespace

BackupResult BackUpAppPathsEntry(CommandScope scope, const std::wstring& keyName)
{
    RegKey tree;
    return BackUpEntry(scope, ToUtf16(keyName), tree);
}

AppPathsBackup ReadAppPathsBackup(const std::wstring& file)
{
    AppPathsBackup backup;
    backup.file = file;
    backup.shownName = FileNameOf(file);
    StampFile(backup);
    std::string bytes;
    if (!ReadWholeFile(file, bytes, backup.problem))
        return backup;
    RegFileRead read = ReadRegFile(bytes);
    if (!read.error.empty()) {
        backup.problem = ShownUtf8(read.error);
        return backup;
    }
    if (std::string why; !AppPathsEntryOfRegPath(read.root.name, backup.scope, backup.keyName, why)) {
        backup.problem = ShownUtf8(why);
        return backup;
    }
    backup.shownName = ToWide(backup.keyName);
    backup.tree = std::move(read.root);
    return backup;
}

std::vector<AppPathsBackup> ListAppPathsBackups()
{
    std::vector<AppPathsBackup> backups;
    for (const CommandScope scope : {CommandScope::user, CommandScope::machine}) {
        const std::wstring folder = BackupFolder(scope);
        WIN32_FIND_DATAW data{};
        CFindHandle find(folder.empty() ? INVALID_HANDLE_VALUE
                                        : FindFirstFileW((folder + L"\\*.reg").c_str(), &data));
        if (!find)
            continue;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                continue;
            AppPathsBackup backup = ReadAppPathsBackup(folder + L"\\" + data.cFileName);
            if (std::wstring untrusted; !IsTrustedBackupFile(scope, backup.file, untrusted))
                backup.problem = untrusted;
            backups.push_back(std::move(backup));
        } while (FindNextFileW(find.Get(), &data));
    }
    std::stable_sort(backups.begin(), backups.end(), [](const AppPathsBackup& a, const AppPathsBackup& b) {
        return a.stamp != b.stamp ? a.stamp > b.stamp : a.attempt > b.attempt;
    });
    return backups;
}

RestoreResult RestoreAppPathsBackup(const AppPathsBackup& backup, ExistingEntry existing)
{
    RestoreResult result;
    if (!backup.problem.empty()) {
        result.status = RestoreStatus::refused;
        result.why = backup.problem;
        return result;
    }
    const HKEY root = AppPathsRoot(backup.scope);
    const std::u16string path = EntryPath(backup.keyName);
    RegKey present;
    LONG error = CaptureKeyTree(root, path, present);
    const bool exists = error == ERROR_SUCCESS;
    if (!exists && error != ERROR_FILE_NOT_FOUND) {
        result.why = L"Could not read the entry there now: " + SystemErrorText(error);
        return result;
    }
    if (exists) {
        if (existing == ExistingEntry::keep) {
            result.status = RestoreStatus::exists;
            return result;
        }
        const BackupResult saved = BackUpEntry(backup.scope, backup.keyName, present);
        if (!saved.saved) {
            result.why = L"The entry there now could not be backed up, so it was not replaced. " + saved.why;
            return result;
        }
        result.replacedBackup = saved.file;
        error = DeleteKeyTree(root, path);
    }
    if (error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND)
        error = WriteKeyTree(root, path, backup.tree);
    if (error != ERROR_SUCCESS) {
        // Nothing half-written stays; what was there comes back.
        DeleteKeyTree(root, path);
        if (exists)
            WriteKeyTree(root, path, present);
        result.why = L"Could not write the entry: " + SystemErrorText(error);
        return result;
    }
    result.status = RestoreStatus::restored;
    return result;
}

RestoreResult RestoreAppPathsBackup(const std::wstring& file, ExistingEntry existing)
{
    return RestoreAppPathsBackup(ReadAppPathsBackup(file), existing);
}

DeleteResult DeleteAppPathsEntryWithBackup(CommandScope scope, const std::wstring& keyName, const BackupStamp& stamp)
{
    DeleteResult result;
    const std::u16string wide = ToUtf16(keyName);
    const HKEY root = AppPathsRoot(scope);
    const std::u16string path = EntryPath(wide);
    RegKey saved;
    const BackupResult backup = BackUpEntry(scope, wide, saved, stamp);
    if (!backup.saved) {
        // Gone meanwhile: nothing to save, and nothing to delete either.
        RegKey probe;
        result.notSaved = CaptureKeyTree(root, path, probe) != ERROR_FILE_NOT_FOUND;
        result.why = backup.why;
        return result;
    }
    result.backupFile = backup.file;
    result.backupSha256 = backup.sha256;
    const LONG error = DeleteKeyTree(root, path);
    if (error != ERROR_SUCCESS) {
        // Refused before anything went: the backup would only mislead.
        RegKey now;
        now.name = saved.name;
        if (CaptureKeyTree(root, path, now) == ERROR_SUCCESS && now == saved) {
            DeleteFileW(backup.file.c_str());
            result.backupFile.clear();
        }
        result.why = SystemErrorText(error);
        return result;
    }
    result.deleted = true;
    return result;
}

NotedBackup ReadNotedBackup(const std::wstring& note, const std::wstring& name, CommandScope scope)
{
    NotedBackup noted;
    // The note is stored as text; its rules read UTF-8.
    const std::string utf8 = WideToUtf8(note).value_or(std::string());
    noted.shownFile = ShownUtf8(NoteShownName(utf8));
    ReplacedEntryNote parsed;
    const std::u16string keyName = ToUtf16(name + L".exe");
    if (std::string why; !ParseReplacedEntryNote(utf8, parsed, why)) {
        noted.why = ShownUtf8(why);
        return noted;
    }
    AppPathsBackup& backup = noted.backup;
    backup.file = BackupFolder(scope) + L"\\" + ShownUtf8(parsed.fileName);
    std::string bytes;
    if (!ReadWholeFile(backup.file, bytes, noted.why) || !IsTrustedBackupFile(scope, backup.file, noted.why))
        return noted;
    if (std::string why; !CheckNotedBackup(parsed, Sha256Hex(bytes), bytes, scope, keyName, backup.tree, why)) {
        noted.why = ShownUtf8(why);
        return noted;
    }
    std::string unused;
    AppPathsEntryOfRegPath(backup.tree.name, backup.scope, backup.keyName, unused); // checked above
    backup.shownName = ToWide(backup.keyName);
    StampFile(backup);
    noted.usable = true;
    return noted;
}
