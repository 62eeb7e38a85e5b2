#pragma once
// Export and import: the File menu's two items and the import preview.
#define ID_FILE_EXPORT          340
#define ID_FILE_IMPORT          341

#define IDD_IMPORT_PREVIEW      140
#define IDC_IMPORT_SUMMARY      1080
#define IDC_IMPORT_LIST         1081
#define IDC_IMPORT_REPLACE      1082
