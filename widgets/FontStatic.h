// CFontStatic: a transparent text label over the page background, in the
// widget font; the window text's lines are separated by carriage returns and
// laid out one line step apart from the top. A label told to fit its text
// draws a text its box cannot hold in the widget font in a smaller size of
// it: the boxes are sized for the terminal's own fonts, which are narrower
// than the faces that stand in for them here.
#pragma once

#include "widgets/JHCanvas.h"

class CFontStatic : public CJHCanvas {
    DECLARE_DYNAMIC(CFontStatic)

public:
    CFontStatic();

    // DrawText flags of each line and the distance between line tops.
    void SetTextFormat(UINT format, int lineStep) {
        m_format = format;
        m_lineStep = lineStep;
    }
    // Fits the text into the part of the box the page shows: a line wider
    // than that, or, with DT_WORDBREAK, lines that reach below it, are drawn
    // in the largest smaller size of the font that holds them.
    void FitText(bool fit) { m_fit = fit; }
    // The label draws its copy of the page only once one was taken here.
    BOOL CaptureBackground(CWnd* parent, CDC* dc) { return CaptureBackgroundEx(parent, dc, 1); }
    BOOL CaptureBackgroundEx(CWnd* parent, CDC* dc, BYTE show);
    // Keeps the characters above the space (drops blanks and controls).
    static void KeepPrintable(CString& text);
    // A page's capture for any of its transparent widgets: a label takes
    // its copy through its own capture, so that it erases with it.
    static BOOL CaptureWidget(CJHCanvas* widget, CWnd* parent, CDC* dc);

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;

private:
    // The part of the client area the parent shows.
    CRect ShownRect() const;
    // Whether `text` laid out in `font` stays inside `shown`.
    bool Holds(CDC& dc, CFont& font, const CString& text, const CRect& shown);
    // `m_font`, or when it does not hold `text`, `smaller` made a size
    // smaller that does (the smallest tried when none does).
    CFont* FittingFont(CDC& dc, const CString& text, CFont& smaller);
    // Calls f(line, top) for each carriage-return line, its blanks trimmed.
    template <class F>
    void ForEachLine(const CString& text, F f) const;

    CFont m_font;
    UINT m_format;
    int m_lineStep = 12;
    bool m_captured = false;
    bool m_fit = false;
};
