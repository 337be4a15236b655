#include "widgets/JHUpTaskBar.h"

#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CJHUpTaskBar, CJHCanvas)

namespace {

constexpr UINT kHintTimer = 1;
const WidgetFontSpec kTraditionalHintFont{u"Microsoft JhengHei", 16, 400, 1, 6};
const WidgetFontSpec kOtherHintFont{u"微软雅黑", 14, 400, 1, 6};

}  // namespace

CJHUpTaskBar::CJHUpTaskBar() {
    m_logo.Load(SkinPath(u"\\logo.png"), CXIMAGE_FORMAT_PNG);
    MakeWidgetFont(m_hintFont, kTraditionalHintFont, kOtherHintFont);
}

void CJHUpTaskBar::FitToLogo() {
    SetWindowPos(nullptr, 0, 0, static_cast<int>(m_logo.GetWidth()), static_cast<int>(m_logo.GetHeight()),
                 SWP_NOMOVE | SWP_NOZORDER);
}

BOOL CJHUpTaskBar::CaptureParentBackground(CWnd* parent) {
    FitToLogo();
    return CJHCanvas::CaptureParentBackground(parent, 1);
}

BOOL CJHUpTaskBar::CaptureBackground(CWnd* parent, CDC* dc) {
    if (!NeedsCapture()) return TRUE;
    FitToLogo();
    return CJHCanvas::CaptureBackground(parent, dc, 1);
}

void CJHUpTaskBar::ShowHint(const CString& text, UINT milliseconds) {
    m_hint = text;
    m_hintShown = TRUE;
    SetTimer(kHintTimer, milliseconds);
    Invalidate();
}

void CJHUpTaskBar::OnPaint() {
    CCanvasPaint paint(this);
    CDC& memory = paint.Dc();
    if (!m_hintShown) {
        m_logo.Draw(memory, 0, 0);
        return;
    }
    // The hint takes the logo's place, in the colour of the page captions.
    CFont* previousFont = memory.SelectObject(&m_hintFont);
    memory.SetBkMode(TRANSPARENT);
    memory.SetTextColor(kWidgetDarkText);
    CRect place = paint.Client();
    memory.DrawText(m_hint, place, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
    memory.SelectObject(previousFont);
}

void CJHUpTaskBar::OnTimer(UINT_PTR id) {
    if (id == kHintTimer) {
        KillTimer(kHintTimer);
        m_hintShown = FALSE;
        Invalidate();
    }
    CJHCanvas::OnTimer(id);
}
