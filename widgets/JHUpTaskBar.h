// CJHUpTaskBar: an upper bar showing the skin's logo over the page, sized to
// the logo when it captures its background. ShowHint puts a text in the
// logo's place for a given time; then the logo comes back.
#pragma once

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CJHUpTaskBar : public CJHCanvas {
    DECLARE_DYNAMIC(CJHUpTaskBar)

public:
    CJHUpTaskBar();

    // The canvas captures, after sizing the bar to the logo; shown after.
    BOOL CaptureParentBackground(CWnd* parent);
    BOOL CaptureBackground(CWnd* parent, CDC* dc);
    // Shows `text` for `milliseconds`; a new hint replaces the old one and
    // its time starts again.
    void ShowHint(const CString& text, UINT milliseconds);

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    void FitToLogo();

    CxImage m_logo;
    CString m_hint;
    CFont m_hintFont;
    BOOL m_hintShown = FALSE;
};
