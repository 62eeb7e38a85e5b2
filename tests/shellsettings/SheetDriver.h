#pragma once
// Runs the Configuration sheet with a callback in place of the user, and the
// clicks and page switches that callback uses.
#include "framework/Services.h"
#include "shellsettings/ConfigSheet.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>

inline INT_PTR RunSheet(const std::function<void(CConfigPropSheet&)>& drive)
{
    CConfigTab1 verb;
    CConfigTab2 extension;
    CConfigTab3 run;
    CConfigPropSheet sheet(verb, extension, run);
    CServicesGuard services;
    Services().modalSheet = [&](CPropertySheet&) { drive(sheet); };
    return sheet.DoModal();
}

inline HWND Page(CConfigPropSheet& sheet)
{
    return reinterpret_cast<HWND>(SendMessageW(sheet.GetSafeHwnd(), PSM_GETCURRENTPAGEHWND, 0, 0));
}

inline void Click(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    ASSERT_NE(nullptr, button) << id;
    SendMessageW(button, BM_CLICK, 0, 0);
}

inline void Press(CConfigPropSheet& sheet, int id)
{
    SendMessageW(sheet.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(sheet.GetSafeHwnd(), id)));
}

inline void SelectPage(CConfigPropSheet& sheet, int index)
{
    SendMessageW(sheet.GetSafeHwnd(), PSM_SETCURSEL, index, 0);
}
