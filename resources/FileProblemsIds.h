#pragma once
// Ids of the dialog that lists the command files a fill could not read.
#define IDD_FILE_PROBLEMS    160
#define IDC_FP_LABEL         1110
#define IDC_FP_LIST          1111
