#pragma once
// Ids of the New/Edit Command dialog and its Browse menu.
#define IDD_NEW_COMMAND         103
#define IDC_NC_NAME             1002
#define IDC_NC_TARGET           1003
#define IDC_NC_PARAMETERS       1004
#define IDC_NC_NAME_LABEL       1005
#define IDC_NC_TARGET_LABEL     1006
#define IDC_NC_PARAMETERS_LABEL 1007
#define IDC_NC_BROWSE           1008
#define IDC_NC_MODE             1009
#define IDC_NC_MODE_LABEL       1010
#define IDC_NC_SCOPE            1053
#define IDC_NC_SCOPE_LABEL      1054
#define IDC_NC_SCOPE_TIP        1055
#define IDC_NC_HELP             1052

#define IDR_BROWSE_MENU         136
#define ID_BROWSE_FILE          137
#define ID_BROWSE_FOLDER        138
#define ID_BROWSE_URL           333
