#include "widgets/PogressBar.h"

#include "widgets/CanvasPaint.h"
#include "widgets/SkinDraw.h"
#include "widgets/TitleFont.h"

IMPLEMENT_DYNAMIC(CPogressBar, CJHCanvas)

CPogressBar::CPogressBar()
    : m_leftCap(SkinPath(u"\\Dialog\\PogressBar_left.png"), CXIMAGE_FORMAT_PNG),
      m_rightCap(SkinPath(u"\\Dialog\\PogressBar_right.png"), CXIMAGE_FORMAT_PNG),
      m_centre(SkinPath(u"\\Dialog\\PogressBar_center.png"), CXIMAGE_FORMAT_PNG),
      m_track(SkinPath(u"\\Dialog\\PogressBar_bg.png"), CXIMAGE_FORMAT_PNG) {
    MakeTitleFont(m_font);
}

void CPogressBar::SetPos(UINT percent) {
    m_pos = percent;
    Invalidate(TRUE);
    Invalidate(FALSE);
}

void CPogressBar::OnPaint() {
    CCanvasPaint paint(this);
    CDC& memory = paint.Dc();
    // Unsigned, as the bar has always computed it; a width that does not fit
    // an int reads as negative and draws no fill.
    const UINT inner = m_track.GetWidth() - m_leftCap.GetWidth() - m_rightCap.GetWidth();
    const int fill = static_cast<int>(inner * m_pos / 100u);
    m_track.Draw(memory, 0, 0);
    DrawCappedStrip(memory, m_leftCap, m_centre, m_rightCap, 1, 1, fill);
    CFont* previousFont = memory.SelectObject(&m_font);
    CString text;
    text.Format(u"%d%%", static_cast<int>(m_pos));
    CRect client = paint.Client();
    // Light text on the dark track; where the light fill lies under most of
    // the text, dark text, or the percentage would all but vanish.
    const int fillRight = 1 + static_cast<int>(m_leftCap.GetWidth()) + fill + static_cast<int>(m_rightCap.GetWidth());
    const int textMiddle = client.right - memory.GetTextExtent(text).cx / 2;
    const COLORREF previousColor = memory.SetTextColor(fillRight >= textMiddle ? kWidgetDarkText : kWidgetLightText);
    memory.SetBkMode(TRANSPARENT);
    memory.DrawText(text, client, DT_SINGLELINE | DT_RIGHT | DT_END_ELLIPSIS);
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}
