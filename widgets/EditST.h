// CEditST: one numeric field of a date or time entry. A transparent edit
// control that takes digits only, keeps its number between a minimum and a
// maximum and shows it zero-padded, with an optional separator drawn at its
// right edge. The focused field shows in a light colour, without a caret.
//
// Digits shift in from the right while the number stays in range; a digit
// that would leave the range starts the number again with that digit alone
// (which is not compared with the range: a month field can show 00).
//
// What the field shows is its value text, not the edit's window text. Being
// an edit, it holds its own copy of the page under it and takes part in the
// page protocol of JHCanvas.h with the same operations.
#pragma once

#include "widgets/BackgroundCapture.h"
#include "widgets/WidgetRules.h"

class CEditST : public CCapturingWnd<CEdit> {
    DECLARE_DYNAMIC(CEditST)

public:
    CEditST() = default;

    void SetRange(int minimum, int maximum) {
        m_minimum = minimum;
        m_maximum = maximum;
    }
    // Neither setter repaints.
    void SetSuffix(CString suffix) { m_suffix = suffix; }
    void SetValueText(CString text) { m_value = text; }
    const CString& GetValueText() const { return m_value; }
    // The value text read as a decimal number; -1 when it does not start
    // with one.
    int GetValue() const;

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    void Repaint();

    int m_maximum = 0;
    int m_minimum = 0;
    CString m_suffix;
    CString m_value;
    bool m_focused = false;
};
