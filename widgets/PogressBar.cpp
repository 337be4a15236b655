#include "widgets/PogressBar.h"

#include <algorithm>

#include "widgets/CanvasPaint.h"
#include "widgets/SkinDraw.h"
#include "widgets/TitleFont.h"

IMPLEMENT_DYNAMIC(CPogressBar, CJHCanvas)

namespace {

constexpr UINT kFullPercent = 100;

}  // namespace

CPogressBar::CPogressBar()
    : m_leftCap(SkinPath(u"\\Dialog\\PogressBar_left.png"), CXIMAGE_FORMAT_PNG),
      m_rightCap(SkinPath(u"\\Dialog\\PogressBar_right.png"), CXIMAGE_FORMAT_PNG),
      m_centre(SkinPath(u"\\Dialog\\PogressBar_center.png"), CXIMAGE_FORMAT_PNG),
      m_track(SkinPath(u"\\Dialog\\PogressBar_bg.png"), CXIMAGE_FORMAT_PNG) {
    MakeTitleFont(m_font);
}

void CPogressBar::SetPos(UINT percent) {
    // A count that overshoots its total must not draw past the track.
    m_pos = std::min(percent, kFullPercent);
    Invalidate(TRUE);
    Invalidate(FALSE);
    UpdateWindow();
}

void CPogressBar::OnPaint() {
    CCanvasPaint paint(this);
    CDC& memory = paint.Dc();
    const int leftWidth = static_cast<int>(m_leftCap.GetWidth());
    const int inner = std::max(0, static_cast<int>(m_track.GetWidth()) - leftWidth - static_cast<int>(m_rightCap.GetWidth()));
    const int fill = inner * static_cast<int>(m_pos) / static_cast<int>(kFullPercent);
    m_track.Draw(memory, 0, 0);
    DrawCappedStrip(memory, m_leftCap, m_centre, m_rightCap, 1, 1, fill);
    CFont* previousFont = memory.SelectObject(&m_font);
    const COLORREF previousColor = memory.SetTextColor(kWidgetLightText);
    memory.SetBkMode(TRANSPARENT);
    CString text;
    text.Format(u"%d%%", static_cast<int>(m_pos));
    CRect client = paint.Client();
    memory.DrawText(text, client, DT_SINGLELINE | DT_RIGHT | DT_END_ELLIPSIS);
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}
