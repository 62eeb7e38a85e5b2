#pragma once
// Resource ids of Tesselator.dll, shared by its resource script and code.
#define IDS_PROJNAME 100
#define IDR_SIMPLESHLEXT 101
#define IDB_ENTRY 203
#define IDB_SUBMENU 204
#define IDB_DOUBLE_TRIANGLE 206
