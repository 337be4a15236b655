// CFontStatic: a transparent text label over the page background, in the
// widget font; the window text's lines are separated by carriage returns and
// laid out one line step apart from the top.
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
    CFont m_font;
    UINT m_format;
    int m_lineStep = 12;
    bool m_captured = false;
};
