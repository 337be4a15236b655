// CFontButton: a plain push button of the user pages. A flat face in the
// panel colour, the caption in the widget font, and a drawn frame that tells
// the three states apart: a heavy black frame while focused, a thin dotted
// one while idle, a grey frame and grey caption while disabled. Taps and
// Enter reach the page as BN_CLICKED, as from any push button.
#pragma once

#include "widgets/WidgetRules.h"

class CFontButton : public CButton {
    DECLARE_DYNAMIC(CFontButton)

public:
    CFontButton();

    // DrawText flags of the caption (DT_CENTER | DT_VCENTER at first).
    void SetTextFormat(UINT format) { m_format = format; }

protected:
    void OnPaint() override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;
    void OnEnable(BOOL enable) override;

private:
    CFont m_font;
    UINT m_format = DT_CENTER | DT_VCENTER;
    bool m_focused = false;
};
