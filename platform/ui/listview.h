// The list view's own state and geometry, shared by its message handling
// (listview.cpp) and its painting (listviewpaint.cpp). Report view only:
// one row per item, one cell per column, a header child with id 0.
#pragma once

#include <string>
#include <vector>

#include "platform/ui/controlstate.h"

struct ListColumn {
    int fmt = LVCFMT_LEFT;
    int width = 0;
    std::u16string text;
};

struct ListRow {
    std::vector<std::u16string> texts;  // by column
    LPARAM param = 0;
    UINT state = 0;
    int image = 0;
};

struct ListState {
    std::vector<ListColumn> columns;
    std::vector<ListRow> rows;
    HWND header = nullptr;
    DWORD exStyle = 0;
    COLORREF bkColor;
    COLORREF textColor;
    COLORREF textBkColor;
    int top = 0;         // first row shown
    int mark = -1;       // selection mark
    int rowHeight = 0;   // 0: not measured yet
    bool rowHeightOwnerDrawn = false;  // measured for LVS_OWNERDRAWFIXED
    bool painting = false;
    bool focused = false;
    int pressed = -2;    // row under the finger since the last touch (-1: none; -2: no touch)

    ListState();
};

ListState* ListStateOf(HWND hwnd);

int HeaderHeight(HWND hwnd, const ListState& s);
int RowHeight(HWND hwnd, ListState& s);
int RowsPerPage(HWND hwnd, ListState& s);
// The whole row, or the cell of `column`.
RECT RowRect(HWND hwnd, ListState& s, int row);
RECT CellRect(HWND hwnd, ListState& s, int row, int column);
const std::u16string& CellText(const ListRow& row, int column);

// WM_PAINT of the list: the rows only (the header is a window of its own),
// into the given DC or between BeginPaint and EndPaint.
void PaintListRows(HWND hwnd, HDC dc);
