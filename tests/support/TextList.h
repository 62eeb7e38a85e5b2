#pragma once
// Texts as the tests compare them, and what reads them off a list view.
#include "framework/Controls.h"

#include <string>
#include <vector>

using Texts = std::vector<std::wstring>;

// One column of the list, top to bottom.
Texts ColumnTexts(const CListCtrl& list, int column);
// The first row whose column shows the text; -1 when none does.
int RowWithText(const CListCtrl& list, int column, const std::wstring& text);
