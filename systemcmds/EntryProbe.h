#pragma once
// Reads one App Paths entry afresh and tells what is wrong with it, probing
// the file system as a 64-bit Explorer sees it. May block on a slow disk:
// called on the status pass's worker thread, never on the window's.
#include "catalogue/CommandPaths.h"
#include "systemcmds/EntryStatusRules.h"

#include <windows.h>

#include <array>
#include <string>

// The kind of each drive letter, asked of the system once per pass or
// reload: under Wine each GetDriveTypeW costs about as much as reading a
// dozen registry values, and a pass asks for thousands of paths.
class CDriveKinds {
public:
    // A UNC path, or a drive letter whose root is on the network.
    bool IsRemote(const std::wstring& path);

private:
    std::array<UINT, 26> m_kinds{}; // DRIVE_* + 1; 0 until asked
};

struct EntryToJudge {
    CommandScope scope = CommandScope::machine;
    std::wstring keyName;
};

EntryStatus JudgeAppPathsEntry(const EntryToJudge& entry, CDriveKinds& drives);

// A command's shortcut (the entry's target, quotes stripped) that is not
// there on a local disk; one on the network is never probed and counts as
// there. Cheap enough for the reload itself, which lists only such orphans.
bool IsShortcutGone(const std::wstring& target, CDriveKinds& drives);

// The thread's probing mode for its lifetime: no "insert a disk" box for an
// empty drive, and on a 32-bit build in 64-bit Windows the real System32
// (never on the window's thread, which may load libraries meanwhile).
class CProbingThreadMode {
public:
    enum class System32 { asSeen, real };
    explicit CProbingThreadMode(System32 system32 = System32::real);
    ~CProbingThreadMode();
    CProbingThreadMode(const CProbingThreadMode&) = delete;
    CProbingThreadMode& operator=(const CProbingThreadMode&) = delete;

private:
    DWORD m_errorMode = 0;
    bool m_errorModeSet = false;
    void* m_redirection = nullptr;
    bool m_redirectionOff = false;
};
