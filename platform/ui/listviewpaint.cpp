// Painting of the list view's rows, with the parent's custom draw: the
// control's pre-paint, then per row the item pre-paint, the row (read after
// the pre-paint, so a state the parent changed there is what is drawn), the
// item post-paint, and at the end the control's post-paint. State changes
// made while the list paints are silent (listview.cpp).
#include <algorithm>

#include "platform/ui/gdi.h"
#include "platform/ui/listview.h"

namespace {

constexpr int kLabelInset = 2;
constexpr int kSubItemInset = 6;

UINT CustomDrawState(const ListState& s, UINT state) {
    UINT result = 0;
    if (state & LVIS_SELECTED) result |= CDIS_SELECTED;
    if ((state & LVIS_FOCUSED) && s.focused) result |= CDIS_FOCUS;
    return result;
}

UINT OwnerDrawState(HWND hwnd, const ListState& s, UINT state) {
    UINT result = 0;
    if (state & LVIS_SELECTED) result |= ODS_SELECTED;
    if ((state & LVIS_FOCUSED) && s.focused) result |= ODS_FOCUS;
    if (!IsWindowEnabled(hwnd)) result |= ODS_DISABLED;
    return result;
}

UINT Alignment(int fmt) {
    switch (fmt & LVCFMT_JUSTIFYMASK) {
    case LVCFMT_RIGHT:
        return DT_RIGHT;
    case LVCFMT_CENTER:
        return DT_CENTER;
    default:
        return DT_LEFT;
    }
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
    SetBkColor(dc, color);
    ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
}

struct RowColors {
    COLORREF text;
    COLORREF back;
};

// The list draws its selection in the highlight colours while it has the
// focus, in the button face colour with LVS_SHOWSELALWAYS, else not at all.
bool ShowsSelection(HWND hwnd, const ListState& s, UINT state) {
    return (state & LVIS_SELECTED) && (s.focused || (WindowStyleOf(hwnd) & LVS_SHOWSELALWAYS));
}

void DrawCells(HWND hwnd, HDC dc, ListState& s, int index, RowColors normal, UINT state) {
    const bool selected = ShowsSelection(hwnd, s, state);
    RowColors chosen = selected ? RowColors{GetSysColor(s.focused ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT),
                                            GetSysColor(s.focused ? COLOR_HIGHLIGHT : COLOR_BTNFACE)}
                                : normal;
    const bool wholeRow = (s.exStyle & LVS_EX_FULLROWSELECT) != 0;
    SetBkMode(dc, TRANSPARENT);
    for (int column = 0; column < static_cast<int>(s.columns.size()); ++column) {
        RowColors colors = (column == 0 || wholeRow) ? chosen : normal;
        RECT cell = CellRect(hwnd, s, index, column);
        FillColor(dc, cell, colors.back);
        SetTextColor(dc, colors.text);
        const std::u16string& text = CellText(s.rows[static_cast<size_t>(index)], column);
        int inset = column == 0 ? kLabelInset : kSubItemInset;
        InflateRect(&cell, -inset, 0);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &cell,
                  Alignment(s.columns[static_cast<size_t>(column)].fmt) | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX |
                      DT_END_ELLIPSIS);
    }
    if ((state & LVIS_FOCUSED) && s.focused) {
        RECT row = RowRect(hwnd, s, index);
        DrawFocusRect(dc, &row);
    }
}

void DrawGridLines(HWND hwnd, HDC dc, ListState& s, const RECT& area) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNFACE));
    HGDIOBJ old = SelectObject(dc, pen);
    int x = 0;
    for (const ListColumn& column : s.columns) {
        x += column.width;
        MoveToEx(dc, x - 1, area.top, nullptr);
        LineTo(dc, x - 1, area.bottom);
    }
    int height = RowHeight(hwnd, s);
    for (int y = area.top + height - 1; y < area.bottom; y += height) {
        MoveToEx(dc, area.left, y, nullptr);
        LineTo(dc, x, y);
    }
    SelectObject(dc, old);
    DeleteObject(pen);
}

LRESULT CustomDraw(HWND hwnd, NMLVCUSTOMDRAW& draw, DWORD stage) {
    draw.nmcd.dwDrawStage = stage;
    return NotifyParent(hwnd, NM_CUSTOMDRAW, &draw.nmcd.hdr);
}

void PaintRow(HWND hwnd, HDC dc, ListState& s, int index, LRESULT whole) {
    const ListRow& row = s.rows[static_cast<size_t>(index)];
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = RowRect(hwnd, s, index);
    draw.nmcd.dwItemSpec = static_cast<DWORD_PTR>(index);
    draw.nmcd.uItemState = CustomDrawState(s, row.state);
    draw.nmcd.lItemlParam = row.param;
    draw.clrText = s.textColor;
    draw.clrTextBk = s.textBkColor;
    LRESULT item = (whole & CDRF_NOTIFYITEMDRAW) ? CustomDraw(hwnd, draw, CDDS_ITEMPREPAINT) : CDRF_DODEFAULT;
    if (index >= static_cast<int>(s.rows.size())) return;  // the parent deleted it
    if (!(item & CDRF_SKIPDEFAULT)) {
        const ListRow& current = s.rows[static_cast<size_t>(index)];
        if (WindowStyleOf(hwnd) & LVS_OWNERDRAWFIXED) {
            DRAWITEMSTRUCT owner{ODT_LISTVIEW,
                                 static_cast<UINT>(GetDlgCtrlID(hwnd)),
                                 static_cast<UINT>(index),
                                 ODA_DRAWENTIRE,
                                 OwnerDrawState(hwnd, s, current.state),
                                 hwnd,
                                 dc,
                                 RowRect(hwnd, s, index),
                                 static_cast<ULONG_PTR>(current.param)};
            SendMessageW(GetParent(hwnd), WM_DRAWITEM, owner.CtlID, reinterpret_cast<LPARAM>(&owner));
        } else {
            DrawCells(hwnd, dc, s, index, RowColors{draw.clrText, draw.clrTextBk}, current.state);
        }
    }
    if (item & CDRF_NOTIFYPOSTPAINT) CustomDraw(hwnd, draw, CDDS_ITEMPOSTPAINT);
}

}  // namespace

void PaintListRows(HWND hwnd, HDC dc) {
    ListState* s = ListStateOf(hwnd);
    if (s == nullptr) return;
    RECT area;
    GetClientRect(hwnd, &area);
    area.top = HeaderHeight(hwnd, *s);
    int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    s->painting = true;
    NMLVCUSTOMDRAW draw{};
    draw.nmcd.hdc = dc;
    draw.nmcd.rc = area;
    LRESULT whole = CustomDraw(hwnd, draw, CDDS_PREPAINT);
    if (!(whole & CDRF_SKIPDEFAULT)) {
        int last = s->top + RowsPerPage(hwnd, *s) + 1;
        for (int index = s->top; index < std::min(last, static_cast<int>(s->rows.size())); ++index) {
            PaintRow(hwnd, dc, *s, index, whole);
        }
        if (s->exStyle & LVS_EX_GRIDLINES) DrawGridLines(hwnd, dc, *s, area);
    }
    if (whole & CDRF_NOTIFYPOSTPAINT) CustomDraw(hwnd, draw, CDDS_POSTPAINT);
    s->painting = false;
    RestoreDC(dc, saved);
}
