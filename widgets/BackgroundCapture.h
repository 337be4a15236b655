// The copy of a parent's pixels under a widget, taken once per page
// appearance and painted first at every repaint of the widget.
//
// CJHCanvas holds one; widgets built on other bases (the numeric field, the
// transparent button) hold one too and forward their capture operations to
// it. `widget` is the window whose rectangle is copied.
#pragma once

#include "platform/ui/afxwin.h"

class CBackgroundCapture {
public:
    CBackgroundCapture() = default;
    ~CBackgroundCapture();
    CBackgroundCapture(const CBackgroundCapture&) = delete;
    CBackgroundCapture& operator=(const CBackgroundCapture&) = delete;

    void SetNeedCapture(BOOL need) { m_needCapture = need; }
    BOOL NeedsCapture() const { return m_needCapture; }

    // Copies the parent's pixels under `widget` from `dc` (the parent's DC in
    // its WM_ERASEBKGND, after it painted its background), only while the
    // need-capture flag is set. The widget is hidden while the copy is taken
    // and shown again without activation when `show` is 1; any other value
    // leaves it hidden. Always TRUE.
    BOOL Capture(CWnd* widget, CWnd* parent, CDC* dc, int show);
    // The same from the parent's own client DC.
    BOOL CaptureFromParent(CWnd* widget, CWnd* parent, int show);
    // Paints the copy at (0, 0) over the widget's size; nothing before the
    // first capture.
    void Draw(CWnd* widget, CDC* dc);

private:
    BOOL CaptureFrom(CWnd* widget, CWnd* parent, CDC* source, bool fromParentDc, int show);

    BOOL m_needCapture = TRUE;
    CBitmap m_bitmap;
    CDC m_memDC;
    CBitmap* m_previous = nullptr;
};

// The page protocol's four capture operations (JHCanvas.h) on a window
// class: CJHCanvas gets them on a static control, the widgets built on
// other controls get the same through this.
template <class Window>
class CCapturingWnd : public Window {
public:
    void SetNeedCapture(BOOL need) { m_capture.SetNeedCapture(need); }
    BOOL NeedsCapture() const { return m_capture.NeedsCapture(); }
    BOOL CaptureBackground(CWnd* parent, CDC* dc, int show) { return m_capture.Capture(this, parent, dc, show); }
    BOOL CaptureParentBackground(CWnd* parent, int show) { return m_capture.CaptureFromParent(this, parent, show); }
    void DrawBackground(CDC* dc) { m_capture.Draw(this, dc); }

private:
    CBackgroundCapture m_capture;
};
