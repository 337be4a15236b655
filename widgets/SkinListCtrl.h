// CSkinListCtrl: the report-view list of the record-query and user-search
// pages: rows of text columns on the light-blue page colour, painted
// off-screen without flicker. The list's own selection highlight is never
// drawn: a selected row painted by the list shows dark text on white, and
// in the owner-drawn variant (LVS_OWNERDRAWFIXED, the record page) the
// focused row is painted in the system highlight colours. The pages find the
// chosen row with GetSelectedItem.
#pragma once

#include "platform/ui/afxcmn.h"

class CSkinListCtrl : public CListCtrl {
public:
    // Pixels between a column's left edge and its text, past the first column.
    static constexpr int kSubItemInset = 6;

    // The first selected row, -1 when none is.
    int GetSelectedItem() const;
    BOOL IsItemSelected(int item) const;
    void SetItemSelected(int item, bool selected);

    // The longest start of `text` whose width plus `offset` is less than
    // `width` (at least one character is kept, never half of one; no
    // ellipsis).
    static CString MakeShortString(CDC* dc, const CString& text, int width, int offset);

protected:
    void PreSubclassWindow() override { CWnd::PreSubclassWindow(); }
    void DrawItem(LPDRAWITEMSTRUCT item) override;
    // Never erases: the paint fills the whole area off-screen.
    BOOL OnEraseBkgnd(CDC*) override { return FALSE; }
    void OnPaint() override;
    BOOL OnReflectedNotify(NMHDR* header, LRESULT* result) override;

private:
    LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);
    void DrawSubItems(CDC* dc, int item, const CRect& label, bool focused);

    const COLORREF m_selectedText = 0x492906;
    const COLORREF m_selectedBack = 0xFFFFFF;
    // Whether the row being painted was selected before its pre-paint took
    // the state away.
    bool m_wasSelected = false;
};
