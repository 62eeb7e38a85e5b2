#pragma once
// Ids of the Restore Deleted System Command dialog.
#define IDD_RESTORE_BACKUP   150
#define IDC_RB_LIST          1100
#define IDC_RB_LABEL         1101
