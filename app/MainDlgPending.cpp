// Placeholders for main-window handlers whose subsystems have not landed
// yet. Each owner deletes exactly its own placeholders when it adds the
// real definitions.
#include "app/MainDlg.h"

#include "framework/RegistryKey.h"

