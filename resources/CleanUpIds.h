#pragma once
// Ids of the Remove Broken Entries dialog.
#define IDD_CLEAN_UP         151
#define IDC_CU_LIST          1110
#define IDC_CU_LABEL         1111
