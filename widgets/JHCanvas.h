// CJHCanvas: the base of the transparent widgets. A subclassed static
// control (SS_NOTIFY is added, so a tap reaches the parent as WM_COMMAND with
// code 0 and the control id) that paints a copy of its parent's pixels
// before its own content. The rules all widgets share are in WidgetRules.h.
//
// The page protocol:
//   1. When the page is entered or shown: SetNeedCapture(TRUE) on each widget.
//   2. In the page's WM_ERASEBKGND: paint the skin background into the DC it
//      received, then CaptureBackground(this, dc, 1) on each widget (or the
//      widget's own wrapper), and return TRUE.
//   3. Each widget paints in WM_PAINT: DrawBackground first, then content.
#pragma once

#include "widgets/BackgroundCapture.h"
#include "widgets/WidgetRules.h"

class CJHCanvas : public CCapturingWnd<CStatic> {
    DECLARE_DYNAMIC(CJHCanvas)

public:
    CJHCanvas() = default;

protected:
    void PreSubclassWindow() override;
    // Never erases: every subclass paints the copy and its content itself.
    BOOL OnEraseBkgnd(CDC* dc) override;
};
