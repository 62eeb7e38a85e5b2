// Placeholders for main-window handlers whose subsystems have not landed
// yet. Each owner deletes exactly its own placeholders when it adds the
// real definitions.
#include "app/MainDlg.h"

#include "framework/RegistryKey.h"

// systemcmds/MainDlgSystem.cpp
bool CMainDlg::EnumAppPathsSubkey(CRegistryKey&, DWORD, std::string&) { return false; }
int CMainDlg::CountAppPathsEntries() { return 0; }
void CMainDlg::LoadSystemCommands() {}
void CMainDlg::OnSystemReload() {}
void CMainDlg::OnSystemDelete() {}
bool CMainDlg::DeleteAppPathsEntry(const std::string&) { return false; }

