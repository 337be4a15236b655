#include "rules/SelectorRows.h"

#include "core/LangText.h"

void PlaceRow(CWnd& page, int top, int height, std::initializer_list<RowCell> cells) {
    for (const RowCell& cell : cells)
        if (CWnd* control = page.GetDlgItem(cell.id)) control->MoveWindow(cell.x, top, cell.width, height, FALSE);
}

void FillSelector(CJHSelectBox& box, std::initializer_list<std::pair<CString, int>> items) {
    box.ResetContent();
    for (const auto& [text, value] : items) box.AddItem(text, value);
}

void AddNumberItem(CJHSelectBox& box, int number) {
    CString text;
    text.Format(u"%d", number);
    box.AddItem(text, number);
}

void AddNumberItems(CJHSelectBox& box, int first, int last) {
    for (int number = first; number <= last; ++number) AddNumberItem(box, number);
}

void FillNumbersAndNone(CJHSelectBox& box, int first, int last, int none) {
    box.ResetContent();
    AddNumberItems(box, first, last);
    CString text;
    GetLangText(u"CCPTreeSpaceSetting", u"TSS0025", u"None", text);
    box.AddItem(text, none);
}

bool SelectValueOr(CJHSelectBox& box, int value, int fallback) {
    if (box.SetCurSelByValue(value)) return true;
    box.SetCurSelByValue(fallback);
    return false;
}
