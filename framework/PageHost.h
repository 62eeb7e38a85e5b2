#pragma once
// What a page of the main window needs from the frame around it. A page
// owns its list and what the list alone uses; the window, tree, status bar,
// progress bar, layout and scale belong to the frame, which a page reaches
// only through this, so a page never depends on the whole window.
#include "framework/Controls.h"
#include "framework/DpiScale.h"
#include "framework/EditorHost.h"

#include <windows.h>

#include <string>

class IPageHost : public IEditorHost {
public:
    // The frame window: owner of the page's dialogs.
    virtual HWND OwnerWindow() const = 0;
    // Pane 3 shows the page's count text; written only when it differs, so
    // hovering over the rows does not repaint the pane each time.
    virtual void ShowCount(const std::wstring& text) = 0;
    // The frame's progress bar, hidden until a page shows it for a long load.
    virtual const CProgressCtrl& Progress() const = 0;
    // The scale the frame is laid out at; the pages' figures follow it.
    virtual const CDpiScale& Scale() const = 0;
    // Without administrator rights: says that the action needs them and
    // where to get them, and returns false.
    virtual bool RequireElevation(const wchar_t* action) const = 0;
    // The list's context menu (a menu resource) at the cursor, with the
    // items that act on a row greyed while none is selected.
    virtual void ShowContextMenu(UINT menuId, const CListCtrl& list) = 0;

protected:
    ~IPageHost() = default;
};
