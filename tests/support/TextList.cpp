#include "tests/support/TextList.h"

Texts ColumnTexts(const CListCtrl& list, int column)
{
    Texts texts;
    for (int row = 0; row < list.GetItemCount(); ++row)
        texts.push_back(list.GetItemText(row, column));
    return texts;
}

int RowWithText(const CListCtrl& list, int column, const std::wstring& text)
{
    for (int row = 0; row < list.GetItemCount(); ++row)
        if (list.GetItemText(row, column) == text)
            return row;
    return -1;
}
