#pragma once
// What an editor dialog needs from the window that opened it: a place for
// its field tips. Each editor's own host interface adds the one list it
// rebuilds after a change, so an editor never depends on a whole window.
#include <string>

class IEditorHost {
public:
    // Shows a tip for the field or menu item the user is on; "" clears it.
    virtual void SetStatusTip(const std::wstring& text) = 0;

protected:
    ~IEditorHost() = default;
};
