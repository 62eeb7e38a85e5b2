#include "regbackup/AppPathsBackup.h"

#include "apppaths/AppPathsRoot.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "framework/Sha256.h"
#include "regbackup/BackupTrustRules.h"
#include "regbackup/KeyTree.h"

#include <windows.h>

#include <algorithm>

namespace {

// Names tried for the backups of one entry within one second.
constexpr int kMaxAttempts = 100;

std::u16string EntryPath(const std::u16string& keyName)
{
    return WidenAscii(kAppPathsKey) + u'\\' + keyName;
}

BackupStamp StampOf(const SYSTEMTIME& time)
{
    return {time.wYear, time.wMonth, time.wDay, time.wHour, time.wMinute, time.wSecond};
}

std::string FileNameOf(const std::string& path)
{
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A new file with the bytes; an existing file of the name is never touched.
bool WriteNewBackupFile(const std::string& folder, const std::string& shownName, const std::string& bytes,
                        std::string& file, std::string& why)
{
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const BackupStamp stamp = StampOf(now);
    for (int attempt = 1; attempt <= kMaxAttempts; ++attempt) {
        file = folder + "\\" + BackupFileName(shownName, stamp, attempt);
        CFileHandle handle(
            CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!handle) {
            const DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            why = "Could not create " + file + ": " + SystemErrorText(static_cast<LONG>(error));
            return false;
        }
        DWORD written = 0;
        const bool good = WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                    nullptr) &&
                          written == bytes.size() && FlushFileBuffers(handle.Get());
        const DWORD error = GetLastError();
        handle.Reset();
        if (!good) {
            DeleteFileA(file.c_str());
            why = "Could not write " + file + ": " + SystemErrorText(static_cast<LONG>(error));
            return false;
        }
        return true;
    }
    why = "Too many backups of this entry were made within one second.";
    return false;
}

// Captures the entry, checks that its file reads back to the same tree and
// writes it. The captured tree is handed back.
BackupResult BackUpEntry(CommandScope scope, const std::u16string& keyName, RegKey& tree)
{
    BackupResult result;
    const std::string shownName = Utf16ToAnsi(keyName);
    const LONG error = CaptureKeyTree(AppPathsRoot(scope), EntryPath(keyName), tree);
    if (error != ERROR_SUCCESS) {
        result.why = "Could not read the entry " + shownName + ": " + SystemErrorText(error);
        return result;
    }
    tree.name = AppPathsEntryRegPath(scope, keyName);
    std::string bytes;
    if (!WriteRegFile(tree, bytes, result.why))
        return result;
    if (!(ReadRegFile(bytes).root == tree)) {
        result.why = "The entry's backup would not read back as the entry is.";
        return result;
    }
    result.sha256 = Sha256Hex(bytes);
    if (result.sha256.empty()) {
        result.why = "The backup's checksum could not be computed.";
        return result;
    }
    if (!PrepareBackupFolder(scope, result.why))
        return result;
    result.saved = WriteNewBackupFile(BackupFolder(scope), shownName, bytes, result.file, result.why);
    return result;
}

bool ReadWholeFile(const std::string& file, std::string& bytes, std::string& why)
{
    CFileHandle handle(CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!handle || !GetFileSizeEx(handle.Get(), &size)) {
        why = "Could not read the file: " + SystemErrorText(static_cast<LONG>(GetLastError()));
        return false;
    }
    if (size.QuadPart > static_cast<LONGLONG>(kMaxRegFileBytes)) {
        why = "The file is larger than any backup of Verbosa.";
        return false;
    }
    bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(handle.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr) ||
            got == 0) {
            why = "Could not read the file: " + SystemErrorText(static_cast<LONG>(GetLastError()));
            return false;
        }
        done += got;
    }
    return true;
}

// The stamp a file's name carries, else its last change in local time.
void StampFile(AppPathsBackup& backup)
{
    if (ParseBackupFileName(FileNameOf(backup.file), backup.stamp, backup.attempt))
        return;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    FILETIME local{};
    SYSTEMTIME time{};
    if (GetFileAttributesExA(backup.file.c_str(), GetFileExInfoStandard, &data) &&
        FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToSystemTime(&local, &time))
        backup.stamp = StampOf(time);
}

} // namespace

BackupResult BackUpAppPathsEntry(CommandScope scope, const std::string& keyName)
{
    std::u16string wide;
    if (!AnsiToUtf16(keyName, wide)) {
        BackupResult result;
        result.why = "The entry's name " + keyName + " holds characters the code page does not map.";
        return result;
    }
    RegKey tree;
    return BackUpEntry(scope, wide, tree);
}

AppPathsBackup ReadAppPathsBackup(const std::string& file)
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
        backup.problem = read.error;
        return backup;
    }
    if (!AppPathsEntryOfRegPath(read.root.name, backup.scope, backup.keyName, backup.problem))
        return backup;
    backup.shownName = Utf16ToAnsi(backup.keyName);
    backup.tree = std::move(read.root);
    return backup;
}

std::vector<AppPathsBackup> ListAppPathsBackups()
{
    std::vector<AppPathsBackup> backups;
    for (const CommandScope scope : {CommandScope::user, CommandScope::machine}) {
        const std::string folder = BackupFolder(scope);
        WIN32_FIND_DATAA data{};
        CFindHandle find(folder.empty() ? INVALID_HANDLE_VALUE
                                        : FindFirstFileA((folder + "\\*.reg").c_str(), &data));
        if (!find)
            continue;
        do {
            if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
                continue;
            AppPathsBackup backup = ReadAppPathsBackup(folder + "\\" + data.cFileName);
            if (std::string untrusted; !IsTrustedBackupFile(scope, backup.file, untrusted))
                backup.problem = untrusted;
            backups.push_back(std::move(backup));
        } while (FindNextFileA(find.Get(), &data));
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
        result.why = "Could not read the entry there now: " + SystemErrorText(error);
        return result;
    }
    if (exists) {
        if (existing == ExistingEntry::keep) {
            result.status = RestoreStatus::exists;
            return result;
        }
        const BackupResult saved = BackUpEntry(backup.scope, backup.keyName, present);
        if (!saved.saved) {
            result.why = "The entry there now could not be backed up, so it was not replaced. " + saved.why;
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
        result.why = "Could not write the entry: " + SystemErrorText(error);
        return result;
    }
    result.status = RestoreStatus::restored;
    return result;
}

RestoreResult RestoreAppPathsBackup(const std::string& file, ExistingEntry existing)
{
    return RestoreAppPathsBackup(ReadAppPathsBackup(file), existing);
}

DeleteResult DeleteAppPathsEntryWithBackup(CommandScope scope, const std::string& keyName)
{
    DeleteResult result;
    std::u16string wide;
    if (!AnsiToUtf16(keyName, wide)) {
        result.notSaved = true;
        result.why = "The entry's name " + keyName + " holds characters the code page does not map.";
        return result;
    }
    const HKEY root = AppPathsRoot(scope);
    const std::u16string path = EntryPath(wide);
    RegKey saved;
    const BackupResult backup = BackUpEntry(scope, wide, saved);
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
            DeleteFileA(backup.file.c_str());
            result.backupFile.clear();
        }
        result.why = SystemErrorText(error);
        return result;
    }
    result.deleted = true;
    return result;
}

NotedBackup ReadNotedBackup(const std::string& note, const std::string& name, CommandScope scope)
{
    NotedBackup noted;
    noted.shownFile = NoteShownName(note);
    ReplacedEntryNote parsed;
    std::u16string keyName;
    if (!ParseReplacedEntryNote(note, parsed, noted.why))
        return noted;
    if (!AnsiToUtf16(name + ".exe", keyName)) {
        noted.why = "The command's name holds characters the code page does not map.";
        return noted;
    }
    AppPathsBackup& backup = noted.backup;
    backup.file = BackupFolder(scope) + "\\" + parsed.fileName;
    std::string bytes;
    if (!ReadWholeFile(backup.file, bytes, noted.why) || !IsTrustedBackupFile(scope, backup.file, noted.why))
        return noted;
    if (!CheckNotedBackup(parsed, Sha256Hex(bytes), bytes, scope, keyName, backup.tree, noted.why))
        return noted;
    AppPathsEntryOfRegPath(backup.tree.name, backup.scope, backup.keyName, noted.why); // checked above
    backup.shownName = Utf16ToAnsi(backup.keyName);
    StampFile(backup);
    noted.usable = true;
    return noted;
}
