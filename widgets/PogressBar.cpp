#include "widgets/PogressBar.h"

#include <algorithm>

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
    const CRect client = paint.Client();
    const TextPlace place = PlaceText(memory.GetTextExtent(text).cx, fill, client.right);
    const COLORREF previousColor = memory.SetTextColor(place.onFill ? kWidgetDarkText : kWidgetLightText);
    memory.SetBkMode(TRANSPARENT);
    CRect box(client.left, client.top, place.right, std::min<int>(client.bottom, m_track.GetHeight()));
    memory.DrawText(text, box, DT_SINGLELINE | DT_RIGHT | DT_VCENTER | DT_END_ELLIPSIS);
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}

CPogressBar::TextPlace CPogressBar::PlaceText(int textWidth, int fill, int clientRight) const {
    const int leftWidth = static_cast<int>(m_leftCap.GetWidth());
    const int rightWidth = static_cast<int>(m_rightCap.GetWidth());
    // The percentage keeps clear of the track's rounded right end, where its
    // last letter would stand on the outline and the page beyond it.
    const int right = std::min(clientRight, static_cast<int>(m_track.GetWidth())) - rightWidth;
    const int fillEnd = 1 + leftWidth + std::max(fill, 0);  // where the fill's straight part ends
    const int fillCapEnd = fillEnd + rightWidth;             // and its rounded end
    if (fillEnd >= right) return {right, true};
    if (right - textWidth >= fillCapEnd) return {right, false};
    // The fill's edge would run through the text, leaving part of it in
    // its own colour: it rides at the fill's end instead, dark on the fill,
    // or, with too short a fill to hold it, light on the track just after.
    if (fillEnd - textWidth >= 1 + leftWidth) return {fillEnd, true};
    return {fillCapEnd + textWidth, false};
}
