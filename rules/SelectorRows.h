// The rows of the rule pages: a label and, beside it, select boxes, time
// pickers or fields, placed at fixed columns; and the select boxes' lists
// (the user form's group box too): numbered items, the "None" item, option
// texts, and choosing a stored value that may have no item.
#pragma once

#include <initializer_list>
#include <utility>

#include "widgets/JHSelectBox.h"

// One control of a row: its id, left edge and width.
struct RowCell {
    int id;
    int x;
    int width;
};

// Moves each cell's control of `page` to its column at `top`, `height` high.
void PlaceRow(CWnd& page, int top, int height, std::initializer_list<RowCell> cells);

// Empties the box and fills it with the (text, value) items in order.
void FillSelector(CJHSelectBox& box, std::initializer_list<std::pair<CString, int>> items);
// Appends the item of `number`: its "%d" text, of its own value.
void AddNumberItem(CJHSelectBox& box, int number);
// Appends the numbers first to last as "%d" texts, each its own value.
void AddNumberItems(CJHSelectBox& box, int first, int last);
// Empties the box and fills it with the numbers first to last, then the
// item for "no zone" or "no group" (TSS0025 of the time-zone texts) of
// value `none`.
void FillNumbersAndNone(CJHSelectBox& box, int first, int last, int none);

// Makes the item of `value` current; when the box has none, the item of
// `fallback` instead, so the box never keeps showing what it showed before.
// True when `value` had an item.
bool SelectValueOr(CJHSelectBox& box, int value, int fallback);
