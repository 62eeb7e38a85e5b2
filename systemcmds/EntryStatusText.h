#pragma once
// The Status column's text of each status; empty when nothing is wrong.
#include "resources/Texts.h"
#include "systemcmds/EntryStatusRules.h"

inline const wchar_t* EntryStatusText(EntryStatus status)
{
    switch (status) {
    case EntryStatus::targetMissing: return TXT_STATUS_TARGET_MISSING;
    case EntryStatus::folderMissing: return TXT_STATUS_FOLDER_MISSING;
    case EntryStatus::noTarget: return TXT_STATUS_NO_TARGET;
    case EntryStatus::shortcutMissing: return TXT_STATUS_SHORTCUT_MISSING;
    case EntryStatus::notChecked: return TXT_STATUS_NOT_CHECKED;
    case EntryStatus::fine:
    case EntryStatus::ownCommand: break;
    }
    return L"";
}
