#pragma once
// Resource ids of Tesselator.dll, shared by its resource script and code.
#define IDS_PROJNAME 100
#define IDR_SIMPLESHLEXT 101
#define IDB_ENTRY 203
#define IDB_SUBMENU 204
#define IDB_DOUBLE_TRIANGLE 206
// The two menu pictures for 150 % and 200 % display scale (32 bits, alpha).
#define IDB_ENTRY_150 420
#define IDB_ENTRY_200 421
#define IDB_SUBMENU_150 422
#define IDB_SUBMENU_200 423
