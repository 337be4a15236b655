#include "widgets/SkinListCtrl.h"

#include <algorithm>

#include "platform/base/longest_fit.h"
#include "platform/base/utf.h"
#include "widgets/ListSelection.h"
#include "widgets/MemoryDC.h"

namespace {

// The light blue of the list pages.
constexpr COLORREF kPageColor = 0xE6D9AB;
constexpr COLORREF kRowText = 0x492906;
constexpr int kTextLimit = 260;
constexpr UINT kCellFormat = DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP | DT_VCENTER;
constexpr int kLabelOffset = 4;
constexpr int kLabelInset = 2;
constexpr int kSubItemOffset = 12;

void FillWith(CDC* dc, const CRect& rect, COLORREF color) {
    CBrush brush(color);
    dc->FillRect(rect, &brush);
}

}  // namespace

int CSkinListCtrl::GetSelectedItem() const { return FirstSelectedItem(*this); }

BOOL CSkinListCtrl::IsItemSelected(int item) const { return GetItemState(item, LVIS_SELECTED) != 0; }

void CSkinListCtrl::SetItemSelected(int item, bool selected) {
    SetItemState(item, selected ? 0xFF : 0, LVIS_SELECTED);
}

CString CSkinListCtrl::MakeShortString(CDC* dc, const CString& text, int width, int offset) {
    const int length = text.GetLength();
    const auto fits = [&](size_t units) {
        return dc->GetTextExtent(text, static_cast<int>(units)).cx + offset < width;
    };
    if (length == 0 || fits(static_cast<size_t>(length))) return text;
    // A stored text may be thousands of characters long. The first
    // character stays when none fits; a character is kept whole, never half
    // of a surrogate pair.
    const std::u16string_view units(text.GetString(), static_cast<size_t>(length));
    const size_t kept = WholeCharacterUnits(units, std::max<size_t>(1, LongestFit(units.size() - 1, fits)));
    return text.Left(static_cast<int>(kept > 0 ? kept : WholeCharacterUnits(units, 2)));
}

void CSkinListCtrl::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC memory(&dc, client);
    // The header paints itself; a hidden one (LVS_NOCOLUMNHEADER) is empty.
    CWnd* header = GetDlgItem(0);
    if (header != nullptr) {
        CRect headerRect;
        header->GetWindowRect(&headerRect);
        ScreenToClient(&headerRect);
        dc.ExcludeClipRect(&headerRect);
    }
    CRect clip;
    memory.GetClipBox(&clip);
    memory.FillSolidRect(&clip, kPageColor);
    // Set only when it differs: setting it repaints the list.
    if (GetTextBkColor() != kPageColor) SetTextBkColor(kPageColor);
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(memory.m_hDC), 0);
}

BOOL CSkinListCtrl::OnReflectedNotify(NMHDR* header, LRESULT* result) {
    if (header->code != static_cast<UINT>(NM_CUSTOMDRAW)) return CListCtrl::OnReflectedNotify(header, result);
    *result = OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    return TRUE;
}

LRESULT CSkinListCtrl::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
    const int item = static_cast<int>(draw->nmcd.dwItemSpec);
    switch (draw->nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        // Neither the list nor DrawItem may paint the selection: the row is
        // shown in the page's own selected colours and selected again after.
        m_wasSelected = IsItemSelected(item) != FALSE;
        if (m_wasSelected) {
            draw->clrText = m_selectedText;
            draw->clrTextBk = m_selectedBack;
            SetItemSelected(item, false);
        }
        return CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPOSTPAINT:
        if (m_wasSelected) SetItemSelected(item, true);
        return CDRF_DODEFAULT;
    default:
        return CDRF_DODEFAULT;
    }
}

void CSkinListCtrl::DrawItem(LPDRAWITEMSTRUCT item) {
    if (item->itemAction != ODA_DRAWENTIRE) return;
    CDC* dc = CDC::FromHandle(item->hDC);
    const int index = static_cast<int>(item->itemID);
    char16_t text[kTextLimit] = {};
    LVITEM read{};
    read.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE | LVIF_INDENT;
    read.iItem = index;
    read.stateMask = 0xFFFF;
    read.pszText = text;
    read.cchTextMax = kTextLimit;
    GetItem(&read);
    // The pre-paint took the selection away, so the one highlighted row is
    // the focused one.
    const bool focused = item->itemState == ODS_FOCUS;
    const COLORREF back = focused ? GetSysColor(COLOR_HIGHLIGHT) : kPageColor;
    const COLORREF fore = focused ? GetSysColor(COLOR_HIGHLIGHTTEXT) : kRowText;

    CRect row = item->rcItem;
    const int firstColumn = GetColumnWidth(0);
    if (row.left > firstColumn) row.left = firstColumn;
    dc->SetBkColor(back);
    dc->ExtTextOut(0, 0, ETO_OPAQUE, &row, nullptr, 0, nullptr);
    if (focused) FillWith(dc, row, back);

    CRect label;
    GetItemRect(index, &label, LVIR_LABEL);
    const COLORREF previousText = dc->SetTextColor(fore);
    const CString shortLabel = MakeShortString(dc, text, label.Width(), kLabelOffset);
    CRect labelText = label;
    labelText.DeflateRect(kLabelInset, 0);
    dc->DrawText(shortLabel, labelText, kCellFormat);
    DrawSubItems(dc, index, label, focused);
    dc->SetTextColor(previousText);
}

void CSkinListCtrl::DrawSubItems(CDC* dc, int item, const CRect& label, bool focused) {
    CRect clip;
    dc->GetClipBox(&clip);
    CRect cell(label.right, label.top, label.right, label.bottom);
    LVCOLUMN column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    for (int index = 1; GetColumn(index, &column); ++index) {
        cell.left = cell.right;
        cell.right += column.cx;
        if (cell.left >= clip.right || cell.right <= clip.left || cell.IsRectEmpty()) continue;
        FillWith(dc, cell, focused ? GetSysColor(COLOR_HIGHLIGHT) : kPageColor);
        const CString text = GetItemText(item, index);
        if (text.IsEmpty()) continue;
        const CString shown = MakeShortString(dc, text, cell.Width(), kSubItemOffset);
        UINT align = DT_LEFT;
        // A cut text reads from its start, whatever the column's alignment.
        if (shown == text) {
            const int justify = column.fmt & LVCFMT_JUSTIFYMASK;
            align = justify == LVCFMT_RIGHT ? DT_RIGHT : justify == LVCFMT_CENTER ? DT_CENTER : DT_LEFT;
        }
        CRect textRect = cell;
        textRect.DeflateRect(CSkinListCtrl::kSubItemInset, 0);
        dc->DrawText(shown, textRect, align | kCellFormat);
    }
}
