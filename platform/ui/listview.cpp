// The SysListView32 class in report view: columns, items with sub-item
// texts, item states and the selection, scrolling by whole rows, taps and
// Up/Down moving the selection, and the LVN_/NM_ notifications.
#include "platform/ui/listview.h"

#include <algorithm>

#include "platform/ui/controlpaint.h"
#include "platform/ui/gdi.h"
#include "platform/ui/stockclasses.h"

namespace {

constexpr int kRowPadding = 4;
constexpr int kHeaderPadding = 6;
constexpr int kWheelRows = 3;
constexpr int kAutoSizeColumn = -1;
constexpr int kAutoSizeUseHeader = -2;
constexpr int kAutoSizePadding = 12;

const std::u16string kEmpty;

int Count(const ListState& s) { return static_cast<int>(s.rows.size()); }
bool ValidRow(const ListState& s, int row) { return row >= 0 && row < Count(s); }
bool ValidColumn(const ListState& s, int column) { return column >= 0 && column < static_cast<int>(s.columns.size()); }

bool HeaderShown(HWND hwnd) {
    DWORD style = WindowStyleOf(hwnd);
    return (style & LVS_TYPEMASK) == LVS_REPORT && !(style & LVS_NOCOLUMNHEADER);
}

// Keeps the header child across the top, shown only when the styles ask for
// it (a page may add LVS_NOCOLUMNHEADER after the list exists); a hidden
// header takes no room, so its rectangle is empty.
void LayoutHeader(HWND hwnd, const ListState& s) {
    if (s.header == nullptr) return;
    RECT client;
    GetClientRect(hwnd, &client);
    const int height = HeaderShown(hwnd) ? ControlMeasure(s.header).Height() + kHeaderPadding : 0;
    SetWindowPos(s.header, nullptr, 0, 0, client.right, height, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(s.header, HeaderShown(hwnd) ? SW_SHOWNA : SW_HIDE);
}

void ClampTop(HWND hwnd, ListState& s) {
    int most = std::max(0, Count(s) - RowsPerPage(hwnd, s));
    s.top = std::clamp(s.top, 0, most);
}

void InvalidateRow(HWND hwnd, ListState& s, int row) {
    if (s.painting) return;
    RECT rect = RowRect(hwnd, s, row);
    InvalidateRect(hwnd, &rect, TRUE);
}

void InvalidateRows(HWND hwnd, const ListState& s) {
    if (!s.painting) InvalidateRect(hwnd, nullptr, TRUE);
}

void NotifyItemChanged(HWND hwnd, const ListState& s, int row, UINT oldState, UINT newState) {
    NMLISTVIEW change{};
    change.iItem = row;
    change.uOldState = oldState;
    change.uNewState = newState;
    change.uChanged = LVIF_STATE;
    change.lParam = s.rows[static_cast<size_t>(row)].param;
    NotifyParent(hwnd, LVN_ITEMCHANGED, &change.hdr);
}

// Sets the state bits of `mask` on one row; silent while the list paints.
void ChangeRowState(HWND hwnd, ListState& s, int row, UINT state, UINT mask) {
    UINT old = s.rows[static_cast<size_t>(row)].state;
    UINT next = (old & ~mask) | (state & mask);
    if (next == old) return;
    s.rows[static_cast<size_t>(row)].state = next;
    InvalidateRow(hwnd, s, row);
    if (!s.painting) NotifyItemChanged(hwnd, s, row, old, next);
}

// One row at most is focused; with LVS_SINGLESEL one at most is selected.
void SetRowState(HWND hwnd, ListState& s, int row, UINT state, UINT mask) {
    UINT exclusive = 0;
    if ((mask & LVIS_FOCUSED) && (state & LVIS_FOCUSED)) exclusive |= LVIS_FOCUSED;
    if ((mask & LVIS_SELECTED) && (state & LVIS_SELECTED) && (WindowStyleOf(hwnd) & LVS_SINGLESEL))
        exclusive |= LVIS_SELECTED;
    if (exclusive != 0) {
        for (int other = 0; other < Count(s); ++other) {
            if (other != row && ValidRow(s, other)) ChangeRowState(hwnd, s, other, 0, exclusive);
        }
    }
    if (ValidRow(s, row)) ChangeRowState(hwnd, s, row, state, mask);
}

void SetAllRowsState(HWND hwnd, ListState& s, UINT state, UINT mask) {
    for (int row = 0; row < Count(s); ++row) {
        if (ValidRow(s, row)) ChangeRowState(hwnd, s, row, state, mask);
    }
}

bool EnsureVisible(HWND hwnd, ListState& s, int row) {
    if (!ValidRow(s, row)) return false;
    int old = s.top;
    int perPage = std::max(RowsPerPage(hwnd, s), 1);
    if (row < s.top) s.top = row;
    if (row >= s.top + perPage) s.top = row - perPage + 1;
    ClampTop(hwnd, s);
    if (s.top != old) InvalidateRows(hwnd, s);
    return true;
}

// The row the user chose: alone selected, focused, the selection mark, shown.
// The others lose selection and focus in one change each.
void ChooseRow(HWND hwnd, ListState& s, int row) {
    for (int other = 0; other < Count(s); ++other) {
        if (other != row && ValidRow(s, other)) ChangeRowState(hwnd, s, other, 0, LVIS_SELECTED | LVIS_FOCUSED);
    }
    if (!ValidRow(s, row)) return;
    SetRowState(hwnd, s, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    s.mark = row;
    EnsureVisible(hwnd, s, row);
}

int FocusedRow(const ListState& s) {
    for (int row = 0; row < Count(s); ++row) {
        if (s.rows[static_cast<size_t>(row)].state & LVIS_FOCUSED) return row;
    }
    return -1;
}

int HitTest(HWND hwnd, ListState& s, LVHITTESTINFO& info) {
    info.iItem = -1;
    info.iSubItem = 0;
    RECT client;
    GetClientRect(hwnd, &client);
    int top = HeaderHeight(hwnd, s);
    if (info.pt.y < top) {
        info.flags = LVHT_ABOVE;
        return -1;
    }
    int row = s.top + (info.pt.y - top) / RowHeight(hwnd, s);
    int width = 0;
    for (const ListColumn& column : s.columns) width += column.width;
    if (!ValidRow(s, row) || info.pt.x < 0 || info.pt.x >= width) {
        info.flags = info.pt.y >= client.bottom ? LVHT_BELOW : LVHT_NOWHERE;
        return -1;
    }
    int x = 0;
    for (int column = 0; column < static_cast<int>(s.columns.size()); ++column) {
        x += s.columns[static_cast<size_t>(column)].width;
        if (info.pt.x < x) {
            info.iSubItem = column;
            break;
        }
    }
    info.flags = LVHT_ONITEMLABEL;
    info.iItem = row;
    return row;
}

void NotifyActivate(HWND hwnd, UINT code, int row, LPARAM where) {
    NMITEMACTIVATE activate{};
    activate.iItem = row;
    activate.ptAction = POINT{static_cast<SHORT>(LOWORD(where)), static_cast<SHORT>(HIWORD(where))};
    NotifyParent(hwnd, code, &activate.hdr);
}

int RowAt(HWND hwnd, ListState& s, LPARAM where) {
    LVHITTESTINFO info{};
    info.pt = POINT{static_cast<SHORT>(LOWORD(where)), static_cast<SHORT>(HIWORD(where))};
    return HitTest(hwnd, s, info);
}

void OnTouch(HWND hwnd, ListState& s, LPARAM where) {
    if (GetFocus() != hwnd) SetFocus(hwnd);
    int row = RowAt(hwnd, s, where);
    s.pressed = row;
    ChooseRow(hwnd, s, row);
    SetCapture(hwnd);
}

void OnLift(HWND hwnd, ListState& s, LPARAM where) {
    if (GetCapture() != hwnd) return;
    ReleaseCapture();
    int row = s.pressed;
    s.pressed = -2;
    NotifyActivate(hwnd, NM_CLICK, row, where);
}

void OnKeyDown(HWND hwnd, ListState& s, WPARAM key) {
    NMLVKEYDOWN down{};
    down.wVKey = static_cast<WORD>(key);
    NotifyParent(hwnd, LVN_KEYDOWN, &down.hdr);
    if (!IsWindow(hwnd) || Count(s) == 0) return;
    int current = FocusedRow(s);
    int perPage = std::max(RowsPerPage(hwnd, s), 1);
    int next = current;
    switch (key) {
    case VK_UP:
        next = current < 0 ? 0 : current - 1;
        break;
    case VK_DOWN:
        next = current < 0 ? 0 : current + 1;
        break;
    case VK_PRIOR:
        next = current - perPage;
        break;
    case VK_NEXT:
        next = current + perPage;
        break;
    case VK_HOME:
        next = 0;
        break;
    case VK_RETURN:
        NotifyParent(hwnd, NM_RETURN, &down.hdr);
        return;
    default:
        return;
    }
    next = std::clamp(next, 0, Count(s) - 1);
    if (next != current || !(s.rows[static_cast<size_t>(next)].state & LVIS_SELECTED)) ChooseRow(hwnd, s, next);
}

void InsertColumn(HWND hwnd, ListState& s, int index, const LVCOLUMNW& column) {
    ListColumn added;
    if (column.mask & LVCF_FMT) added.fmt = column.fmt;
    if (column.mask & LVCF_WIDTH) added.width = column.cx;
    if ((column.mask & LVCF_TEXT) && column.pszText) added.text = column.pszText;
    s.columns.insert(s.columns.begin() + index, added);
    for (ListRow& row : s.rows) {
        if (static_cast<int>(row.texts.size()) > index) row.texts.insert(row.texts.begin() + index, std::u16string());
    }
    HDITEMW item{HDI_TEXT | HDI_WIDTH | HDI_FORMAT, added.width, added.text.data(), nullptr, 0, added.fmt, 0};
    if (s.header) SendMessageW(s.header, HDM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    InvalidateRows(hwnd, s);
}

void SyncHeaderItem(const ListState& s, int index) {
    if (s.header == nullptr) return;
    const ListColumn& column = s.columns[static_cast<size_t>(index)];
    std::u16string text = column.text;
    HDITEMW item{HDI_TEXT | HDI_WIDTH | HDI_FORMAT, column.width, text.data(), nullptr, 0, column.fmt, 0};
    SendMessageW(s.header, HDM_SETITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

BOOL GetColumn(const ListState& s, int index, LVCOLUMNW* column) {
    if (!ValidColumn(s, index) || column == nullptr) return FALSE;
    const ListColumn& from = s.columns[static_cast<size_t>(index)];
    if (column->mask & LVCF_FMT) column->fmt = from.fmt;
    if (column->mask & LVCF_WIDTH) column->cx = from.width;
    if (column->mask & LVCF_TEXT) CopyToBuffer(from.text, column->pszText, column->cchTextMax);
    if (column->mask & LVCF_SUBITEM) column->iSubItem = index;
    return TRUE;
}

BOOL SetColumn(HWND hwnd, ListState& s, int index, const LVCOLUMNW* column) {
    if (!ValidColumn(s, index) || column == nullptr) return FALSE;
    ListColumn& to = s.columns[static_cast<size_t>(index)];
    if (column->mask & LVCF_FMT) to.fmt = column->fmt;
    if (column->mask & LVCF_WIDTH) to.width = column->cx;
    if ((column->mask & LVCF_TEXT) && column->pszText) to.text = column->pszText;
    SyncHeaderItem(s, index);
    InvalidateRows(hwnd, s);
    return TRUE;
}

int AutoWidth(HWND hwnd, const ListState& s, int index, bool withHeader) {
    ControlMeasure measure(hwnd);
    int width = withHeader ? measure.Width(s.columns[static_cast<size_t>(index)].text) : 0;
    for (const ListRow& row : s.rows) width = std::max(width, measure.Width(CellText(row, index)));
    return width + kAutoSizePadding;
}

BOOL SetColumnWidth(HWND hwnd, ListState& s, int index, int width) {
    if (!ValidColumn(s, index)) return FALSE;
    if (width == kAutoSizeColumn || width == kAutoSizeUseHeader)
        width = AutoWidth(hwnd, s, index, width == kAutoSizeUseHeader);
    s.columns[static_cast<size_t>(index)].width = std::max(width, 0);
    SyncHeaderItem(s, index);
    InvalidateRows(hwnd, s);
    return TRUE;
}

void SetCellText(ListRow& row, int column, LPCWSTR text) {
    if (static_cast<int>(row.texts.size()) <= column) row.texts.resize(static_cast<size_t>(column) + 1);
    row.texts[static_cast<size_t>(column)] = text ? text : u"";
}

int InsertItem(HWND hwnd, ListState& s, const LVITEMW& item) {
    if (item.iSubItem != 0) return -1;
    int index = std::clamp(item.iItem, 0, Count(s));
    ListRow row;
    SetCellText(row, 0, (item.mask & LVIF_TEXT) ? item.pszText : nullptr);
    if (item.mask & LVIF_PARAM) row.param = item.lParam;
    if (item.mask & LVIF_IMAGE) row.image = item.iImage;
    s.rows.insert(s.rows.begin() + index, row);
    if (s.mark >= index) ++s.mark;
    if (item.mask & LVIF_STATE) SetRowState(hwnd, s, index, item.state, item.stateMask);
    NMLISTVIEW inserted{};
    inserted.iItem = index;
    NotifyParent(hwnd, LVN_INSERTITEM, &inserted.hdr);
    InvalidateRows(hwnd, s);
    return index;
}

BOOL SetItem(HWND hwnd, ListState& s, const LVITEMW& item) {
    if (!ValidRow(s, item.iItem) || item.iSubItem < 0) return FALSE;
    ListRow& row = s.rows[static_cast<size_t>(item.iItem)];
    if (item.mask & LVIF_TEXT) SetCellText(row, item.iSubItem, item.pszText);
    if (item.iSubItem == 0) {
        if (item.mask & LVIF_PARAM) row.param = item.lParam;
        if (item.mask & LVIF_IMAGE) row.image = item.iImage;
    }
    InvalidateRow(hwnd, s, item.iItem);
    if (item.iSubItem == 0 && (item.mask & LVIF_STATE)) SetRowState(hwnd, s, item.iItem, item.state, item.stateMask);
    return TRUE;
}

BOOL GetItem(const ListState& s, LVITEMW& item) {
    if (!ValidRow(s, item.iItem)) return FALSE;
    const ListRow& row = s.rows[static_cast<size_t>(item.iItem)];
    if (item.mask & LVIF_TEXT) CopyToBuffer(CellText(row, item.iSubItem), item.pszText, item.cchTextMax);
    if (item.mask & LVIF_STATE) item.state = row.state & item.stateMask;
    if (item.mask & LVIF_PARAM) item.lParam = row.param;
    if (item.mask & LVIF_IMAGE) item.iImage = row.image;
    if (item.mask & LVIF_INDENT) item.iIndent = 0;
    return TRUE;
}

BOOL DeleteItem(HWND hwnd, ListState& s, int index) {
    if (!ValidRow(s, index)) return FALSE;
    NMLISTVIEW deleted{};
    deleted.iItem = index;
    deleted.lParam = s.rows[static_cast<size_t>(index)].param;
    NotifyParent(hwnd, LVN_DELETEITEM, &deleted.hdr);
    if (!ValidRow(s, index)) return FALSE;
    s.rows.erase(s.rows.begin() + index);
    if (s.mark == index) s.mark = -1;
    if (s.mark > index) --s.mark;
    ClampTop(hwnd, s);
    InvalidateRows(hwnd, s);
    return TRUE;
}

BOOL DeleteAllItems(HWND hwnd, ListState& s) {
    NMLISTVIEW all{};
    all.iItem = -1;
    NotifyParent(hwnd, LVN_DELETEALLITEMS, &all.hdr);
    s.rows.clear();
    s.top = 0;
    s.mark = -1;
    InvalidateRows(hwnd, s);
    return TRUE;
}

int NextItem(const ListState& s, int start, UINT flags) {
    auto matches = [&](int row) {
        UINT state = s.rows[static_cast<size_t>(row)].state;
        return (!(flags & LVNI_SELECTED) || (state & LVIS_SELECTED)) && (!(flags & LVNI_FOCUSED) || (state & LVIS_FOCUSED));
    };
    if (flags & LVNI_ABOVE) {
        for (int row = std::min(start, Count(s)) - 1; row >= 0; --row) {
            if (matches(row)) return row;
        }
        return -1;
    }
    for (int row = std::max(start + 1, 0); row < Count(s); ++row) {
        if (matches(row)) return row;
    }
    return -1;
}

BOOL ItemRect(HWND hwnd, ListState& s, int index, RECT* rect) {
    if (!ValidRow(s, index) || rect == nullptr) return FALSE;
    *rect = rect->left == LVIR_LABEL || rect->left == LVIR_ICON ? CellRect(hwnd, s, index, 0) : RowRect(hwnd, s, index);
    return TRUE;
}

BOOL SubItemRect(HWND hwnd, ListState& s, int index, RECT* rect) {
    if (!ValidRow(s, index) || rect == nullptr || !ValidColumn(s, rect->top)) return FALSE;
    *rect = CellRect(hwnd, s, index, rect->top);
    return TRUE;
}

BOOL Scroll(HWND hwnd, ListState& s, int dy) {
    int height = RowHeight(hwnd, s);
    int rows = dy / height + (dy % height != 0 ? (dy > 0 ? 1 : -1) : 0);
    int old = s.top;
    s.top += rows;
    ClampTop(hwnd, s);
    if (s.top != old) InvalidateRows(hwnd, s);
    return TRUE;
}

void OnFocus(HWND hwnd, ListState& s, bool gained) {
    s.focused = gained;
    InvalidateRows(hwnd, s);
    NMHDR header{};
    NotifyParent(hwnd, gained ? NM_SETFOCUS : NM_KILLFOCUS, &header);
}

void CreateHeader(HWND hwnd, ListState& s) {
    s.header = CreateWindowExW(0, WC_HEADER, u"", WS_CHILD, 0, 0, 0, 0, hwnd, nullptr, nullptr, nullptr);
    LayoutHeader(hwnd, s);
}

LRESULT SetColor(COLORREF& color, LPARAM value, HWND hwnd, const ListState& s) {
    color = static_cast<COLORREF>(value);
    InvalidateRows(hwnd, s);
    return TRUE;
}

LRESULT ListMessage(HWND hwnd, ListState& s, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* item = reinterpret_cast<LVITEMW*>(lParam);
    const int index = static_cast<int>(wParam);
    switch (message) {
    case WM_CREATE:
        CreateHeader(hwnd, s);
        return 0;
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED:
        LayoutHeader(hwnd, s);
        ClampTop(hwnd, s);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_SETFONT:
        s.rowHeight = 0;
        if (s.header) SendMessageW(s.header, WM_SETFONT, wParam, lParam);
        LayoutHeader(hwnd, s);
        return DefWindowProcW(hwnd, message, wParam, lParam);
    case WM_ERASEBKGND:
        return EraseWithColor(hwnd, wParam, s.bkColor);
    case WM_PAINT:
        LayoutHeader(hwnd, s);
        PaintControl(hwnd, wParam, PaintListRows);
        return 0;
    case WM_LBUTTONDOWN:
        OnTouch(hwnd, s, lParam);
        return 0;
    case WM_LBUTTONUP:
        OnLift(hwnd, s, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        NotifyActivate(hwnd, NM_DBLCLK, RowAt(hwnd, s, lParam), lParam);
        return 0;
    case WM_MOUSEWHEEL:
        Scroll(hwnd, s, -static_cast<SHORT>(HIWORD(wParam)) / 120 * kWheelRows * RowHeight(hwnd, s));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(hwnd, s, wParam);
        return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        OnFocus(hwnd, s, message == WM_SETFOCUS);
        return 0;
    case WM_GETDLGCODE:
        return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LVM_GETBKCOLOR:
        return s.bkColor;
    case LVM_SETBKCOLOR:
        return SetColor(s.bkColor, lParam, hwnd, s);
    case LVM_GETTEXTCOLOR:
        return s.textColor;
    case LVM_SETTEXTCOLOR:
        return SetColor(s.textColor, lParam, hwnd, s);
    case LVM_GETTEXTBKCOLOR:
        return s.textBkColor;
    case LVM_SETTEXTBKCOLOR:
        return SetColor(s.textBkColor, lParam, hwnd, s);
    case LVM_GETITEMCOUNT:
        return Count(s);
    case LVM_INSERTITEMW:
        return item ? InsertItem(hwnd, s, *item) : -1;
    case LVM_SETITEMW:
        return item ? SetItem(hwnd, s, *item) : FALSE;
    case LVM_GETITEMW:
        return item ? GetItem(s, *item) : FALSE;
    case LVM_SETITEMTEXTW:
        if (!ValidRow(s, index) || item == nullptr || item->iSubItem < 0) return FALSE;
        SetCellText(s.rows[static_cast<size_t>(index)], item->iSubItem, item->pszText);
        InvalidateRow(hwnd, s, index);
        return TRUE;
    case LVM_GETITEMTEXTW:
        if (!ValidRow(s, index) || item == nullptr) return 0;
        return CopyToBuffer(CellText(s.rows[static_cast<size_t>(index)], item->iSubItem), item->pszText, item->cchTextMax);
    case LVM_DELETEITEM:
        return DeleteItem(hwnd, s, index);
    case LVM_DELETEALLITEMS:
        return DeleteAllItems(hwnd, s);
    case LVM_SETITEMSTATE:
        if (item == nullptr) return FALSE;
        if (index == -1) SetAllRowsState(hwnd, s, item->state, item->stateMask);
        else if (ValidRow(s, index)) SetRowState(hwnd, s, index, item->state, item->stateMask);
        else return FALSE;
        return TRUE;
    case LVM_GETITEMSTATE:
        return ValidRow(s, index) ? s.rows[static_cast<size_t>(index)].state & static_cast<UINT>(lParam) : 0;
    case LVM_GETNEXTITEM:
        return NextItem(s, index, static_cast<UINT>(LOWORD(lParam)));
    case LVM_GETSELECTEDCOUNT:
        return std::count_if(s.rows.begin(), s.rows.end(), [](const ListRow& row) { return row.state & LVIS_SELECTED; });
    case LVM_GETSELECTIONMARK:
        return s.mark;
    case LVM_SETSELECTIONMARK: {
        int old = s.mark;
        s.mark = static_cast<int>(lParam);
        return old;
    }
    case LVM_GETITEMRECT:
        return ItemRect(hwnd, s, index, reinterpret_cast<RECT*>(lParam));
    case LVM_GETSUBITEMRECT:
        return SubItemRect(hwnd, s, index, reinterpret_cast<RECT*>(lParam));
    case LVM_HITTEST:
        return lParam ? HitTest(hwnd, s, *reinterpret_cast<LVHITTESTINFO*>(lParam)) : -1;
    case LVM_ENSUREVISIBLE:
        return EnsureVisible(hwnd, s, index);
    case LVM_SCROLL:
        return Scroll(hwnd, s, static_cast<int>(lParam));
    case LVM_REDRAWITEMS:
        for (int row = std::max(index, 0); row <= static_cast<int>(lParam) && row < Count(s); ++row) InvalidateRow(hwnd, s, row);
        return TRUE;
    case LVM_GETTOPINDEX:
        return s.top;
    case LVM_GETCOUNTPERPAGE:
        return RowsPerPage(hwnd, s);
    case LVM_INSERTCOLUMNW:
        if (lParam == 0) return -1;
        InsertColumn(hwnd, s, std::clamp(index, 0, static_cast<int>(s.columns.size())),
                     *reinterpret_cast<const LVCOLUMNW*>(lParam));
        return std::clamp(index, 0, static_cast<int>(s.columns.size()) - 1);
    case LVM_DELETECOLUMN:
        if (!ValidColumn(s, index)) return FALSE;
        s.columns.erase(s.columns.begin() + index);
        for (ListRow& row : s.rows) {
            if (static_cast<int>(row.texts.size()) > index) row.texts.erase(row.texts.begin() + index);
        }
        if (s.header) SendMessageW(s.header, HDM_DELETEITEM, wParam, 0);
        InvalidateRows(hwnd, s);
        return TRUE;
    case LVM_GETCOLUMNW:
        return GetColumn(s, index, reinterpret_cast<LVCOLUMNW*>(lParam));
    case LVM_SETCOLUMNW:
        return SetColumn(hwnd, s, index, reinterpret_cast<const LVCOLUMNW*>(lParam));
    case LVM_GETCOLUMNWIDTH:
        return ValidColumn(s, index) ? s.columns[static_cast<size_t>(index)].width : 0;
    case LVM_SETCOLUMNWIDTH:
        return SetColumnWidth(hwnd, s, index, static_cast<SHORT>(LOWORD(lParam)));
    case LVM_GETHEADER:
        return reinterpret_cast<LRESULT>(s.header);
    case LVM_SETEXTENDEDLISTVIEWSTYLE: {
        DWORD old = s.exStyle;
        DWORD mask = wParam ? static_cast<DWORD>(wParam) : 0xFFFFFFFFu;
        s.exStyle = (old & ~mask) | (static_cast<DWORD>(lParam) & mask);
        InvalidateRows(hwnd, s);
        return old;
    }
    case LVM_GETEXTENDEDLISTVIEWSTYLE:
        return s.exStyle;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

ListState::ListState()
    : bkColor(GetSysColor(COLOR_WINDOW)), textColor(GetSysColor(COLOR_WINDOWTEXT)), textBkColor(GetSysColor(COLOR_WINDOW)) {}

ListState* ListStateOf(HWND hwnd) { return ControlStateOf<ListState>(hwnd); }

int HeaderHeight(HWND hwnd, const ListState& s) {
    if (s.header == nullptr || !HeaderShown(hwnd)) return 0;
    RECT rect;
    GetWindowRect(s.header, &rect);
    return rect.bottom - rect.top;
}

// Fixed owner-drawn rows take their height from the parent (WM_MEASUREITEM),
// others from the font.
// A page may make the list owner-drawn after it exists; the height is asked
// for again then.
int RowHeight(HWND hwnd, ListState& s) {
    const bool ownerDrawn = (WindowStyleOf(hwnd) & LVS_OWNERDRAWFIXED) != 0;
    if (s.rowHeight > 0 && s.rowHeightOwnerDrawn == ownerDrawn) return s.rowHeight;
    s.rowHeightOwnerDrawn = ownerDrawn;
    int height = ControlMeasure(hwnd).Height() + kRowPadding;
    if (ownerDrawn) {
        MEASUREITEMSTRUCT measure{ODT_LISTVIEW, static_cast<UINT>(GetDlgCtrlID(hwnd)), 0, 0,
                                  static_cast<UINT>(height), 0};
        SendMessageW(GetParent(hwnd), WM_MEASUREITEM, measure.CtlID, reinterpret_cast<LPARAM>(&measure));
        height = static_cast<int>(measure.itemHeight);
    }
    s.rowHeight = std::max(height, 1);
    return s.rowHeight;
}

int RowsPerPage(HWND hwnd, ListState& s) {
    RECT client;
    GetClientRect(hwnd, &client);
    return std::max(0, (client.bottom - HeaderHeight(hwnd, s)) / RowHeight(hwnd, s));
}

RECT RowRect(HWND hwnd, ListState& s, int row) {
    int height = RowHeight(hwnd, s);
    int top = HeaderHeight(hwnd, s) + (row - s.top) * height;
    int width = 0;
    for (const ListColumn& column : s.columns) width += column.width;
    return RECT{0, top, width, top + height};
}

RECT CellRect(HWND hwnd, ListState& s, int row, int column) {
    RECT rect = RowRect(hwnd, s, row);
    int left = 0;
    for (int i = 0; i < column; ++i) left += s.columns[static_cast<size_t>(i)].width;
    rect.left = left;
    rect.right = left + s.columns[static_cast<size_t>(column)].width;
    return rect;
}

const std::u16string& CellText(const ListRow& row, int column) {
    if (column < 0 || column >= static_cast<int>(row.texts.size())) return kEmpty;
    return row.texts[static_cast<size_t>(column)];
}

void RegisterListViewClass() { RegisterControlClass(WC_LISTVIEW, ControlStateProc<ListState, ListMessage>); }
