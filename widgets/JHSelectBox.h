// CJHSelectBox: the one-line value selector of the settings and user pages.
// It shows the text of one item of a list of {value, text} pairs between a
// left and a right arrow; the arrow keys or taps on the arrows step through
// the list in place, wrapping at both ends.
//
// Each step that changes the current item is posted to the parent as
// "SBSELChange" (wParam = control id); Enter is sent as "EditEnter", except
// within 500 ms of the box getting the focus (the Enter that moved the focus
// here must not act on the box as well). A tap on the box takes the focus.
#pragma once

#include <vector>

#include "widgets/JHCanvas.h"
#include "widgets/SkinImageCache.h"

class CJHSelectBox : public CJHCanvas {
    DECLARE_DYNAMIC(CJHSelectBox)

public:
    CJHSelectBox();

    // Appends an item. The first item of an empty box becomes current and
    // is announced. Always TRUE; no repaint.
    BOOL AddItem(CString text, int value);
    // The current item's value and text; 0 and "" when the box is empty.
    int GetCurSelValue() const;
    CString GetCurSelText() const;
    // Empties the list without announcing anything; the shown text stays
    // until the next paint of a new item. Always TRUE.
    BOOL ResetContent();
    // Whether the person stepped through the list (an arrow key or a tap on
    // an arrow) since it was last emptied, even back to where it began.
    bool Stepped() const { return m_stepped; }
    void Enable(bool enable) { EnableWindow(enable); }
    // The first item with this value becomes current; announced when it is
    // not the item announced last. FALSE when no item has the value.
    BOOL SetCurSelByValue(int value);
    // The first item with this text (case-sensitive) becomes current and is
    // announced, even when it was current already. FALSE when none matches.
    BOOL SetCurSelByText(CString text);
    // Makes the item at `index` current without announcing it; an index out
    // of range is ignored.
    void SetCurSel(UINT index);
    // Only `second` is used: the brush the box answers WM_CTLCOLORSTATIC with.
    void SetColors(BOOL flag, COLORREF first, COLORREF second);

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKeyUp(UINT ch, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnKillFocus(CWnd* newWnd) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnKeyDown(UINT ch, UINT repeat, UINT flags) override;

private:
    struct Item {
        int value;
        CString text;
    };

    void SelectNext();
    void SelectPrev();
    void StepTo(int index);
    void MakeCurrent(int index);
    // Posts "SBSELChange" when the current item is not the one announced last.
    void NotifyIfChanged();
    void PostSelChange() const;
    // Sets the arrows' tap areas; returns the text area between them.
    CRect CalcArrowRects();
    bool HasImages() const;

    int m_current = -1;
    int m_notified = -1;
    CRect m_leftArrow;
    CRect m_rightArrow;
    BOOL m_leftCapture = FALSE;
    BOOL m_rightCapture = FALSE;
    std::vector<Item> m_items;
    DWORD m_focusTime = 0;
    BOOL m_colorFlag = FALSE;
    COLORREF m_firstColor;
    COLORREF m_secondColor;
    CBrush m_brush;  // of m_secondColor, made when first asked for
    bool m_leftPressed = false;
    bool m_rightPressed = false;
    CFont m_font;
    CString m_shownText;
    bool m_focused = false;
    bool m_stepped = false;

    SharedSkinImage m_background;
    SharedSkinImage m_leftImage;
    SharedSkinImage m_rightImage;
    SharedSkinImage m_leftDownImage;
    SharedSkinImage m_rightDownImage;
};
