#pragma once
// Ids of the Configuration sheet's pages (resources/Configuration.rc).
#define IDD_CONFIG_CONTEXT_MENU   114
#define IDD_CONFIG_FAST_FOLDERS   115
#define IDD_CONFIG_RUN_DIALOG     116

#define IDC_CONTEXT_MENU_GROUP    1021
#define IDC_FAST_FOLDERS_GROUP    1022
#define IDC_CONTEXT_MENU_TEXT1    1023
#define IDC_CONTEXT_MENU_TEXT2    1024
#define IDC_VERB_ENABLED          1025
#define IDC_VERB_DISABLED         1026
#define IDC_VERB_GROUP            1027
#define IDC_FAST_FOLDERS_TEXT1    1028
#define IDC_FAST_FOLDERS_TEXT2    1029
#define IDC_EXTENSION_GROUP       1030
#define IDC_EXTENSION_ENABLED     1031
#define IDC_EXTENSION_DISABLED    1032
#define IDC_SHOW_OPEN_FOLDERS     1033
#define IDC_RUN_DIALOG_GROUP      1034
#define IDC_RUN_DIALOG_TEXT       1036
#define IDC_DESKTOP_SHORTCUT_GROUP 1037

// The sheet's own buttons.
#define IDC_SHEET_HELP            9
#define IDC_SHEET_APPLY           12321
