#pragma once
// Ids of the Add/Edit Folder dialog.
#define IDD_FAST_FOLDER      108
#define IDC_FF_PATH          1003
#define IDC_FF_PATH_LABEL    1006
#define IDC_FF_ALIAS_LABEL   1013
#define IDC_FF_BROWSE        1015
#define IDC_FF_ALIAS         1016
#define IDC_FF_HELP          1052
