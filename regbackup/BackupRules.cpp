#include "regbackup/BackupRules.h"

#include "framework/AsciiCase.h"
#include "regbackup/RegFileFormat.h"

#include <cstdio>

namespace {

constexpr std::u16string_view kMachineRoot = u"HKEY_LOCAL_MACHINE";
constexpr std::u16string_view kUserRoot = u"HKEY_CURRENT_USER";
// Room for the folder and the stamp within MAX_PATH.
constexpr size_t kMaxNameInFileName = 64;
constexpr std::u16string_view kExtension = u".reg";
constexpr size_t kStampLength = 15; // 20261208-134501

std::u16string AppPathsPrefix(std::u16string_view root)
{
    return std::u16string(root) + u'\\' + std::u16string(kAppPathsKeyUtf16) + u'\\';
}

bool IsDigits(std::u16string_view text)
{
    if (text.empty())
        return false;
    for (char16_t c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

int Number(std::u16string_view digits)
{
    int value = 0;
    for (char16_t c : digits)
        value = value * 10 + (c - u'0');
    return value;
}

// CON, PRN, AUX, NUL, COM1-9, LPT1-9: names Windows gives to devices,
// whatever extension follows.
bool IsDeviceName(std::u16string_view name)
{
    std::u16string upper;
    for (char16_t c : name.substr(0, name.find(u'.')))
        upper += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - u'a' + u'A') : c;
    if (upper == u"CON" || upper == u"PRN" || upper == u"AUX" || upper == u"NUL")
        return true;
    return upper.size() == 4 && (upper.starts_with(u"COM") || upper.starts_with(u"LPT")) && upper[3] >= u'1' &&
           upper[3] <= u'9';
}

bool ParseStamp(std::u16string_view text, BackupStamp& stamp)
{
    if (text.size() != kStampLength || text[8] != u'-' || !IsDigits(text.substr(0, 8)) || !IsDigits(text.substr(9)))
        return false;
    stamp = {Number(text.substr(0, 4)), Number(text.substr(4, 2)), Number(text.substr(6, 2)),
             Number(text.substr(9, 2)), Number(text.substr(11, 2)), Number(text.substr(13, 2))};
    return stamp.month >= 1 && stamp.month <= 12 && stamp.day >= 1 && stamp.day <= 31 && stamp.hour <= 23 &&
           stamp.minute <= 59 && stamp.second <= 60;
}

} // namespace

std::u16string AppPathsEntryRegPath(CommandScope scope, std::u16string_view keyName)
{
    return AppPathsPrefix(scope == CommandScope::user ? kUserRoot : kMachineRoot) + std::u16string(keyName);
}

bool AppPathsEntryOfRegPath(std::u16string_view path, CommandScope& scope, std::u16string& keyName,
                            std::string& why)
{
    std::u16string_view name;
    for (const CommandScope candidate : {CommandScope::machine, CommandScope::user}) {
        const std::u16string prefix = AppPathsPrefix(candidate == CommandScope::user ? kUserRoot : kMachineRoot);
        if (StartsWithIgnoringAsciiCase(path, prefix)) {
            scope = candidate;
            name = path.substr(prefix.size());
            break;
        }
    }
    if (name.empty()) {
        why = "Its key lies outside the App Paths keys of the machine and of the user, and Verbosa restores "
              "nothing else.";
        return false;
    }
    if (name.size() > kMaxRegKeyNameLength || name.find(u'\\') != std::u16string_view::npos || name == u"." ||
        name == u"..") {
        why = "Its key is not one App Paths entry but lies deeper, and Verbosa restores whole entries only.";
        return false;
    }
    keyName = std::u16string(name);
    return true;
}

std::string BackupStampText(const BackupStamp& stamp)
{
    char text[32] = {};
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d", stamp.year % 10000, stamp.month % 100,
                  stamp.day % 100, stamp.hour % 100, stamp.minute % 100, stamp.second % 100);
    return text;
}

std::u16string BackupFileName(std::u16string_view keyName, const BackupStamp& stamp, int attempt)
{
    std::u16string name;
    for (char16_t c : keyName) {
        const bool refused = c < 0x20 || std::u16string_view(u"<>:\"/\\|?*").find(c) != std::u16string_view::npos;
        name += refused ? u'_' : c;
    }
    if (name.size() > kMaxNameInFileName) {
        name.resize(kMaxNameInFileName);
        // Never end between the two halves of a surrogate pair.
        if (name.back() >= 0xD800 && name.back() <= 0xDBFF)
            name.pop_back();
    }
    if (name.empty() || IsDeviceName(name))
        name.insert(name.begin(), u'_');
    std::u16string file = name + u'-' + WidenAscii(BackupStampText(stamp));
    if (attempt > 1)
        file += u'-' + WidenAscii(std::to_string(attempt));
    return file + std::u16string(kExtension);
}

bool ParseBackupFileName(std::u16string_view fileName, BackupStamp& stamp, int& attempt)
{
    if (fileName.size() < kExtension.size())
        return false;
    if (!EqualIgnoringAsciiCase(fileName.substr(fileName.size() - kExtension.size()), kExtension))
        return false;
    std::u16string_view base = fileName.substr(0, fileName.size() - kExtension.size());
    attempt = 1;
    // name-stamp: at least one character of name, then '-' and the stamp.
    auto stampAtEnd = [&](std::u16string_view text) {
        return text.size() >= kStampLength + 2 && text[text.size() - kStampLength - 1] == u'-' &&
               ParseStamp(text.substr(text.size() - kStampLength), stamp);
    };
    if (stampAtEnd(base))
        return true;
    const size_t dash = base.rfind(u'-');
    if (dash == std::u16string_view::npos || base.size() - dash - 1 > 4 || !IsDigits(base.substr(dash + 1)))
        return false;
    attempt = Number(base.substr(dash + 1));
    return attempt >= 2 && stampAtEnd(base.substr(0, dash));
}
