#pragma once
// Data exchange between a dialog's controls and its members, for
// DoDataExchange(save): save true reads the controls, false writes them.
#include "framework/Controls.h"

#include <string>

// Binds a control wrapper to the dialog's control with that id.
void DDX_Control(bool save, HWND dialog, int id, CWindow& control);

// The text of an edit or static control.
void DDX_Text(bool save, HWND dialog, int id, std::wstring& text);

// A check box: 0 unchecked, 1 checked, 2 indeterminate.
void DDX_Check(bool save, HWND dialog, int id, int& state);

// A radio group: the buttons from firstId up to the next control that
// starts a group. value is the index of the checked button among the
// group's radio buttons, -1 when none is checked; writing -1 clears them.
void DDX_Radio(bool save, HWND dialog, int firstId, int& value);
