#pragma once
// The dialog templates quillon.exe promises, as data: each template's frame,
// then every control in template (and so tab) order, in dialog units. A
// button's or static's kind (its low type bits) must match exactly; the other
// style bits named must be set; visibility must match.
//
// Below them, the places where the promised coordinates break a layout rule
// on purpose; every other control of every template keeps all of them.
#include "resources/Texts.h"

#include <windows.h>

#include <commctrl.h>

struct TemplateFrame {
    UINT id;
    short cx, cy;
    const wchar_t* caption;
    const wchar_t* menu; // "" for none, "#<id>" for a numbered one
    DWORD style;      // must be set
    DWORD without;    // must be clear
    DWORD exStyle;    // must be set
};

struct TemplateControl {
    UINT dialog;
    int id;
    const wchar_t* windowClass;
    const wchar_t* text; // "#<id>" names a picture resource
    short x, y, cx, cy;
    DWORD style;
    bool shown;
};

inline constexpr DWORD kModal = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;
inline constexpr DWORD kList = LVS_REPORT | LVS_SINGLESEL | LVS_ALIGNLEFT | WS_BORDER;
inline constexpr DWORD kField = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP;
inline constexpr DWORD kChoice = CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP;

inline constexpr TemplateFrame kTemplateFrames[] = {
    {102, 516, 291, L"Verbosa", L"#132",
     WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, 0,
     WS_EX_APPWINDOW},
    {100, 236, 167, L"", L"", WS_POPUP | WS_BORDER | WS_SYSMENU, WS_DLGFRAME, 0}, // no caption bar
    {103, 201, 153, L"New Command", L"", kModal, 0, 0}, // taller by the scope row
    {108, 216, 94, L"Add Folder", L"", kModal, 0, 0},
    {114, 319, 169, L"Context Menu", L"", WS_CHILD | WS_CAPTION, 0, 0},
    {115, 319, 169, L"Fast Folders", L"", WS_CHILD | WS_CAPTION, 0, 0},
    {116, 319, 169, L"Run dialog", L"", WS_CHILD | WS_CAPTION, 0, 0},
    {151, 340, 190, L"Remove Broken Entries", L"", kModal, 0, 0},
};

inline constexpr TemplateControl kTemplateControls[] = {
    // Main window: the three pages share the space right of the tree; no
    // button is a default button.
    {102, 1011, L"SysTreeView32", L"", 4, 5, 86, 259, TVS_HASLINES | TVS_NOSCROLL | WS_BORDER | WS_TABSTOP, true},
    {102, 1000, L"SysListView32", L"", 94, 5, 418, 248, kList, true},
    {102, 1001, L"Button", L"New Command", 373, 269, 66, 16, BS_PUSHBUTTON, true},
    {102, 1002, L"Button", L"Delete Command", 443, 269, 66, 16, BS_PUSHBUTTON, true},
    {102, 1003, L"SysListView32", L"", 94, 5, 418, 258, kList, false},
    {102, 1004, L"Button", L"Add Folder", 225, 275, 66, 16, BS_PUSHBUTTON, false},
    {102, 1005, L"Button", L"Remove Folder", 295, 275, 66, 16, BS_PUSHBUTTON, false},
    {102, 1006, L"SysListView32", L"", 94, 5, 418, 236, kList, false},
    {102, 1039, L"msctls_progress32", L"", 6, 271, 83, 10, WS_BORDER, false},

    // About box.
    {100, 1042, L"Static", L"#258", 0, 0, 260, 27, SS_BITMAP, true},
    {100, -1, L"Button", L" About ", 7, 33, 222, 56, BS_GROUPBOX, true},
    {100, 1043, L"Static", L"Verbosa 3.0        [3.0.0.2]", 26, 50, 188, 8, SS_LEFT | SS_NOPREFIX, true},
    {100, -1, L"Button", L" Contact ", 7, 94, 222, 48, BS_GROUPBOX, true},
    {100, 1044, L"Static", TXT_SUPPORT_MAIL, 26, 111, 54, 8, SS_LEFT, true},
    {100, 1045, L"Static", TXT_HOME_PAGE_SHOWN, 26, 121, 53, 8, SS_LEFT, true},
    {100, 1046, L"Static", L"#326", 79, 111, 20, 20, SS_ICON, false},
    {100, 1047, L"Static", L"#329", 80, 122, 20, 20, SS_ICON, false},
    {100, 1, L"Button", L"OK", 177, 146, 45, 14, BS_DEFPUSHBUTTON, true},

    // New/Edit Command.
    {103, 1010, L"Static", L"Window Mode:", 7, 89, 66, 10, SS_LEFT, true},
    {103, 1002, L"Edit", L"", 7, 18, 184, 12, kField, true},
    {103, 1003, L"Edit", L"", 7, 45, 148, 12, kField, true},
    {103, 1008, L"Button", L"Browse", 157, 44, 34, 13, BS_PUSHBUTTON | WS_TABSTOP, true},
    {103, 1004, L"Edit", L"", 7, 72, 184, 12, kField, true},
    {103, 1009, L"ComboBox", L"", 7, 99, 83, 13, kChoice, true},
    {103, 1054, L"Static", L"Available to:", 103, 89, 88, 10, SS_LEFT, true},
    {103, 1053, L"ComboBox", L"", 103, 99, 88, 13, kChoice, true},
    {103, 1055, L"Static", L"", 7, 116, 184, 16, SS_LEFT, true},
    {103, 1, L"Button", L"OK", 103, 134, 42, 14, BS_PUSHBUTTON | WS_TABSTOP, true},
    {103, 2, L"Button", L"Cancel", 149, 134, 43, 14, BS_PUSHBUTTON | WS_TABSTOP, true},
    {103, 1005, L"Static", L"Command:", 7, 8, 66, 10, SS_LEFT, true},
    {103, 1006, L"Static", L"Path/Url:", 7, 35, 66, 10, SS_LEFT, true},
    {103, 1007, L"Static", L"Parameters:", 8, 62, 66, 9, SS_LEFT, true},
    {103, 1052, L"Static", L"#332", 180, 4, 21, 20, SS_ICON | SS_NOTIFY | SS_CENTERIMAGE, true},

    // Add/Edit Folder.
    {108, 1013, L"Static", L"Alias:", 7, 11, 80, 9, SS_LEFT, true},
    {108, 1016, L"Edit", L"", 7, 21, 199, 12, ES_AUTOHSCROLL | WS_BORDER, true},
    {108, 1006, L"Static", L"Path:", 7, 38, 80, 9, SS_LEFT, true},
    {108, 1003, L"Edit", L"", 7, 48, 160, 12, ES_AUTOHSCROLL | WS_BORDER, true},
    {108, 1015, L"Button", L"Browse", 171, 48, 35, 12, BS_PUSHBUTTON, true},
    {108, 1, L"Button", L"OK", 115, 73, 46, 14, BS_PUSHBUTTON, true},
    {108, 2, L"Button", L"Cancel", 164, 73, 45, 14, BS_PUSHBUTTON, true},
    {108, 1052, L"Static", L"#332", 194, 8, 21, 20, SS_ICON | SS_NOTIFY, true},

    // Configuration pages.
    {114, 1021, L"Button", L" Context Menu  ", 7, 7, 305, 155, BS_GROUPBOX, true},
    {114, 1023, L"Static",
     L"This will enable/disable a system-wide right-click feature called \"Create Shortcut Command\" to common "
     L"files and to folders, it will speed up the process of creating commands.",
     18, 28, 272, 28, SS_LEFT, true},
    {114, 1024, L"Static",
     L"When enabled, right-click any file/folder in Explorer, select \"Create Shortcut Command\", enter a desired "
     L"command name and you\xB4re done!",
     17, 62, 277, 20, SS_LEFT, true},
    {114, 1027, L"Button", L"Create Shortcut Command - Context Menu", 17, 92, 164, 46, BS_GROUPBOX, true},
    {114, 1025, L"Button", L"Enabled", 25, 105, 53, 11, BS_AUTORADIOBUTTON | WS_GROUP, true},
    {114, 1026, L"Button", L"Disabled", 25, 118, 47, 11, BS_AUTORADIOBUTTON, true},

    {115, 1022, L"Button", L" Fast Folders  ", 7, 7, 305, 155, BS_GROUPBOX, true},
    {115, 1028, L"Static",
     L"The feature called \"Fast Folders\" is a shell enhancement that gives you fast access to your favorite "
     L"folders in common Open/Save dialogs, the desktop and in Explorer.",
     18, 28, 272, 19, SS_LEFT, true},
    {115, 1029, L"Static",
     L"When enabled, right-click the directory background in for example an Open/Save dialog and select \"Fast "
     L"Folders\", then select a desired folder and the Open/Save dialog will change to the directory you selected.",
     18, 52, 272, 28, SS_LEFT, true},
    {115, 1030, L"Button", L"Fast Folders - Shell Enhancement", 17, 92, 181, 47, BS_GROUPBOX, true},
    {115, 1031, L"Button", L"Enabled", 25, 104, 62, 13, BS_AUTORADIOBUTTON | WS_GROUP, true},
    {115, 1032, L"Button", L"Disabled", 25, 117, 62, 13, BS_AUTORADIOBUTTON, true},
    {115, 1033, L"Button", L"Show folders open in Explorer", 17, 145, 181, 10, BS_AUTOCHECKBOX | WS_GROUP, true},

    {116, 1034, L"Button", L" Run dialog  ", 7, 7, 305, 155, BS_GROUPBOX, true},
    {116, 1036, L"Static",
     L"If you prefer to access the Run -dialog from a desktop shortcut instead of using [WINKEY+R], you can create "
     L"one by draging the \"Run icon\" from your Start Menu to your desktop. Now click the new shortcut and the Run "
     L"-dialog will appear.",
     29, 42, 265, 24, SS_LEFT, true},
    {116, 1037, L"Button", L"Desktop Shortcut", 16, 25, 289, 53, BS_GROUPBOX, true},

    // Remove Broken Entries: the list's rows carry check boxes.
    {151, 1111, L"Static", TXT_CU_LABEL, 7, 7, 326, 26, SS_LEFT | SS_NOPREFIX, true},
    {151, 1110, L"SysListView32", L"", 7, 36, 326, 126, LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP, true},
    {151, 1, L"Button", L"Remove", 229, 169, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP, true},
    {151, 2, L"Button", L"Cancel", 283, 169, 50, 14, BS_PUSHBUTTON | WS_TABSTOP, true},
};

// The layout rules every control of every template keeps at every scale.
enum class LayoutRule {
    inside, // within its window's client area
    apart,  // overlaps no other shown control, but a group box around it
    wide,   // its text's longest line or word fits its width
    tall,   // its text's lines, wrapped as it wraps them, fit its height
};

struct LayoutException {
    UINT dialog;
    int id;
    int other; // the control it overlaps, for `apart`
    LayoutRule rule;
    const char* why;
};

inline constexpr LayoutException kLayoutExceptions[] = {
    {103, 1052, 1002, LayoutRule::apart, "the help icon sits over the name field's right end, as designed"},
    {108, 1052, 1016, LayoutRule::apart, "the help icon sits over the alias field's right end, as designed"},
    // Wine's Tahoma is wider than the one these paragraphs were set in: at
    // 96 and 192 DPI they wrap to one line more than their height holds
    // (the last line is cut at the bottom); at 144 they fit.
    {115, 1028, 0, LayoutRule::tall, "three lines under Wine's Tahoma in a height of two and a half"},
    {116, 1036, 0, LayoutRule::tall, "four lines under Wine's Tahoma in a height of three"},
};
