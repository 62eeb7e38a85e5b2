#pragma once
// Ids of the main window, the About box and their menus and pictures.

// Templates
#define IDD_ABOUT               100
#define IDD_MAIN                102

// Main window controls
#define IDC_COMMAND_LIST        1000
#define IDC_NEW_COMMAND         1001
#define IDC_DELETE_COMMAND      1002
#define IDC_FOLDER_LIST         1003
#define IDC_ADD_FOLDER          1004
#define IDC_REMOVE_FOLDER       1005
#define IDC_SYSTEM_LIST         1006
#define IDC_PAGE_TREE           1011
#define IDC_PROGRESS            1039

// About box controls
#define IDC_ABOUT_BANNER        1042
#define IDC_ABOUT_VERSION       1043
#define IDC_ABOUT_MAIL          1044
#define IDC_ABOUT_WEB           1045
#define IDC_ABOUT_MAIL_ICON     1046
#define IDC_ABOUT_WEB_ICON      1047

// Menus
#define IDR_MAIN_MENU           132
#define IDR_COMMAND_MENU        169
#define IDR_FOLDER_MENU         194
#define IDR_SYSTEM_MENU         212

// Menu commands
#define ID_FILE_NEW_COMMAND     133
#define ID_FILE_ADD_FOLDER      134
#define ID_FILE_EXIT            135
#define ID_COMMAND_EDIT         170
#define ID_COMMAND_NEW          171
#define ID_COMMAND_DELETE       172
#define ID_FOLDER_EDIT          195
#define ID_FOLDER_DELETE        196
#define ID_FOLDER_ADD           197
#define ID_OPTIONS_CONFIGURATION 199
#define ID_OPTIONS_RESTART_ADMIN 198
#define ID_HELP_ABOUT           200
#define ID_HELP_HELP            201
#define ID_SYSTEM_RELOAD        213
#define ID_COMMAND_SECURITY     224
#define ID_SYSTEM_DELETE        226
#define ID_HELP_SUPPORT         227
#define ID_HELP_HOMEPAGE        334
#define ID_SYSTEM_RESTORE       350
#define ID_SYSTEM_CLEAN_UP      351
// The framework's own help command.
#define ID_HELP_FRAMEWORK       0xE146

// Icons
#define IDI_MAIN                160
#define IDI_TREE_GROUP          161
#define IDI_TREE_PAGE           165
#define IDI_TREE_PAGE_OPEN      166
#define IDI_MAIL_LINK           326
#define IDI_WEB_LINK            329
#define IDI_HELP                332

// Bitmaps
#define IDB_ABOUT_BANNER        258
#define IDB_MENU_NEW_COMMAND    294
#define IDB_MENU_DELETE         310
#define IDB_MENU_HELP           315
#define IDB_MENU_CONFIGURATION  316
#define IDB_MENU_ADD_FOLDER     321
// The same pictures for 150 % and 200 % display scale.
#define IDB_MENU_NEW_COMMAND_150    400
#define IDB_MENU_NEW_COMMAND_200    401
#define IDB_MENU_DELETE_150         402
#define IDB_MENU_DELETE_200         403
#define IDB_MENU_HELP_150           404
#define IDB_MENU_HELP_200           405
#define IDB_MENU_CONFIGURATION_150  406
#define IDB_MENU_CONFIGURATION_200  407
#define IDB_MENU_ADD_FOLDER_150     408
#define IDB_MENU_ADD_FOLDER_200     409
#define IDB_ABOUT_BANNER_150        410
#define IDB_ABOUT_BANNER_200        411
