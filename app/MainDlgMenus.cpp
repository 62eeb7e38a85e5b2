// The main window's menus: the items' pictures at the window's scale, the
// status tips of menu items, and the lists' context menus.
#include "app/MainDlg.h"

#include "app/MenuPictures.h"
#include "framework/Services.h"
#include "resources/MainWindowIds.h"
#include "resources/Texts.h"
#include "resources/TransferIds.h"

const wchar_t* CMainDlg::MenuTip(UINT id)
{
    switch (id) {
    case ID_FILE_NEW_COMMAND:
    case ID_COMMAND_NEW: return TXT_TIP_NEW_COMMAND;
    case ID_FILE_ADD_FOLDER:
    case ID_FOLDER_ADD: return TXT_TIP_NEW_FOLDER;
    case ID_FILE_EXPORT: return TXT_TIP_EXPORT;
    case ID_FILE_IMPORT: return TXT_TIP_IMPORT;
    case ID_FILE_EXIT: return TXT_TIP_EXIT;
    case ID_COMMAND_EDIT: return TXT_TIP_EDIT_COMMAND;
    case ID_COMMAND_DELETE: return TXT_TIP_DELETE_COMMAND;
    case ID_FOLDER_EDIT: return TXT_TIP_EDIT_FOLDER;
    case ID_FOLDER_DELETE: return TXT_TIP_DELETE_FOLDER;
    case ID_OPTIONS_CONFIGURATION: return TXT_TIP_CONFIGURATION;
    case ID_OPTIONS_RESTART_ADMIN: return TXT_TIP_RESTART_ADMIN;
    case ID_HELP_ABOUT: return TXT_TIP_ABOUT;
    case ID_HELP_HELP: return TXT_TIP_HELP;
    case ID_SYSTEM_RELOAD: return TXT_TIP_RELOAD;
    case ID_COMMAND_SECURITY: return TXT_TIP_SECURITY;
    case ID_SYSTEM_DELETE: return TXT_TIP_DELETE_SYSTEM;
    case ID_SYSTEM_RESTORE: return TXT_TIP_RESTORE_DELETED;
    case ID_SYSTEM_CLEAN_UP: return TXT_TIP_REMOVE_BROKEN;
    case ID_HELP_SUPPORT: return TXT_TIP_SUPPORT;
    case ID_HELP_HOMEPAGE: return TXT_TIP_HOME_PAGE;
    default: return L"";
    }
}

void CMainDlg::OnMenuSelect(const MenuSelection& selection)
{
    SetStatusTip(selection.IsCommandItem() ? MenuTip(selection.item) : L"");
}

void CMainDlg::ShowContextMenu(UINT menuId, const CListCtrl& list)
{
    // Declared before the menu, so the menu goes first.
    CBitmapHandle newBitmap, deleteBitmap;
    CMenuHandle menu(LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId)));
    HMENU popup = menu ? GetSubMenu(menu.Get(), 0) : nullptr;
    if (!popup)
        return;
    POINT cursor{};
    GetCursorPos(&cursor);

    deleteBitmap.Reset(LoadMenuPicture(IDB_MENU_DELETE, m_scale));
    const bool selected = list.GetFirstSelected() >= 0;
    auto grey = [&](UINT item) {
        if (!selected)
            EnableMenuItem(popup, item, MF_BYCOMMAND | MF_GRAYED);
    };
    switch (menuId) {
    case IDR_COMMAND_MENU:
        newBitmap.Reset(LoadMenuPicture(IDB_MENU_NEW_COMMAND, m_scale));
        SetItemPicture(popup, ID_COMMAND_NEW, newBitmap.Get());
        SetItemPicture(popup, ID_COMMAND_DELETE, deleteBitmap.Get());
        grey(ID_COMMAND_EDIT);
        grey(ID_COMMAND_DELETE);
        grey(ID_COMMAND_SECURITY);
        break;
    case IDR_FOLDER_MENU:
        newBitmap.Reset(LoadMenuPicture(IDB_MENU_ADD_FOLDER, m_scale));
        SetItemPicture(popup, ID_FOLDER_ADD, newBitmap.Get());
        SetItemPicture(popup, ID_FOLDER_DELETE, deleteBitmap.Get());
        grey(ID_FOLDER_EDIT);
        grey(ID_FOLDER_DELETE);
        break;
    case IDR_SYSTEM_MENU:
        SetItemPicture(popup, ID_SYSTEM_DELETE, deleteBitmap.Get());
        grey(ID_SYSTEM_DELETE);
        break;
    default:
        break;
    }
    if (const auto inspect = Services().contextMenu)
        inspect(popup, menuId);
    else
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, m_hWnd, nullptr);
}

void CMainDlg::SetMenuPictures()
{
    // The items take the new pictures before the old ones go.
    HMENU menu = GetMenu(m_hWnd);
    CBitmapHandle newCommand(LoadMenuPicture(IDB_MENU_NEW_COMMAND, m_scale));
    CBitmapHandle addFolder(LoadMenuPicture(IDB_MENU_ADD_FOLDER, m_scale));
    CBitmapHandle configuration(LoadMenuPicture(IDB_MENU_CONFIGURATION, m_scale));
    CBitmapHandle help(LoadMenuPicture(IDB_MENU_HELP, m_scale));
    CBitmapHandle shield(LoadShieldPicture(m_scale));
    SetItemPicture(menu, ID_FILE_NEW_COMMAND, newCommand.Get());
    SetItemPicture(menu, ID_FILE_ADD_FOLDER, addFolder.Get());
    SetItemPicture(menu, ID_OPTIONS_CONFIGURATION, configuration.Get());
    SetItemPicture(menu, ID_HELP_HELP, help.Get());
    SetItemPicture(menu, ID_OPTIONS_RESTART_ADMIN, shield.Get());
    m_bmpNewCommand = std::move(newCommand);
    m_bmpAddFolder = std::move(addFolder);
    m_bmpConfiguration = std::move(configuration);
    m_bmpHelp = std::move(help);
    m_bmpShield = std::move(shield);
}
