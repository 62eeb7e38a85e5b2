#pragma once
// What is wrong with another program's App Paths entry, decided from its
// values and what a probe says of the paths they name. Platform-free: the
// Win32 side supplies the probe (file system, drive type) and the values
// (quotes stripped, environment expanded where the value asks for it).
#include "systemcmds/SystemCommandRules.h"

#include <optional>

enum class EntryStatus {
    fine,
    targetMissing,   // the program is not there
    folderMissing,   // the program is, a folder of its Path value is not
    noTarget,        // the default value is empty, absent or not text
    shortcutMissing, // a command's entry whose shortcut is gone: an orphan
    notChecked,      // a path on the network, never probed
    ownCommand,      // a command's entry whose shortcut is there: not listed
};

// What the probe found at a path, told without touching a remote one.
enum class PathFound { there, missing, remote };

// The status a user may clean away without a second look.
constexpr bool IsBrokenEntry(EntryStatus status)
{
    return status == EntryStatus::targetMissing || status == EntryStatus::noTarget ||
           status == EntryStatus::shortcutMissing;
}

// What the count pane calls broken: everything the user should look at,
// a missing Path folder too, though only the entries above are offered.
constexpr bool CountsAsBroken(EntryStatus status)
{
    return IsBrokenEntry(status) || status == EntryStatus::folderMissing;
}

// A path on a share: \\server\share\... (also \\?\UNC\...).
template <typename String>
bool IsUncPath(const String& path)
{
    using Char = typename String::value_type;
    if (path.size() < 2 || path[0] != Char('\\') || path[1] != Char('\\'))
        return false;
    const Char unc[] = {Char('\\'), Char('\\'), Char('?'), Char('\\'), Char('U'), Char('N'), Char('C'), Char('\\')};
    const bool verbatim = path.size() >= 4 && path[2] == Char('?') && path[3] == Char('\\');
    return !verbatim || (path.size() >= 8 && EqualIgnoringAsciiCase(path.substr(0, 8), String(unc, 8)));
}

// target: the default value, quotes stripped and expanded; nullopt when it
// is absent or not text. folders: the Path value, a ';'-separated list
// (empty when absent). probe(path, isFolder) -> PathFound.
template <typename String, typename Probe>
EntryStatus JudgeEntry(const std::optional<String>& target, const String& folders, Probe&& probe)
{
    using Char = typename String::value_type;
    if (!target || target->empty())
        return EntryStatus::noTarget;
    const PathFound program = probe(*target, false);
    if (IsOwnCommandTarget(*target))
        return program == PathFound::missing ? EntryStatus::shortcutMissing : EntryStatus::ownCommand;
    if (program == PathFound::remote)
        return EntryStatus::notChecked;
    if (program == PathFound::missing)
        return EntryStatus::targetMissing;
    bool remote = false;
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(Char(';'), start);
        if (end == String::npos)
            end = folders.size();
        size_t first = start, last = end;
        while (first < last && folders[first] == Char(' '))
            ++first;
        while (last > first && folders[last - 1] == Char(' '))
            --last;
        const String folder = StripTargetQuotes(folders.substr(first, last - first));
        if (!folder.empty()) {
            const PathFound found = probe(folder, true);
            if (found == PathFound::missing)
                return EntryStatus::folderMissing;
            remote = remote || found == PathFound::remote;
        }
        start = end + 1;
    }
    return remote ? EntryStatus::notChecked : EntryStatus::fine;
}

// How "Remove broken entries..." offers an entry: not at all, ticked, or
// shown greyed and unticked because its scope needs rights the program
// does not have.
enum class CleanUpOffer { notOffered, ticked, needsRights };

constexpr CleanUpOffer OfferForCleanUp(EntryStatus status, bool scopeWritable)
{
    if (!IsBrokenEntry(status))
        return CleanUpOffer::notOffered;
    return scopeWritable ? CleanUpOffer::ticked : CleanUpOffer::needsRights;
}
