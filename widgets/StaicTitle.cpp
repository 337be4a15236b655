#include "widgets/StaicTitle.h"

#include "widgets/MemoryDC.h"
#include "widgets/SkinDraw.h"
#include "widgets/TitleFont.h"

IMPLEMENT_DYNAMIC(CStaicTitle, CJHCanvas)

namespace {

// The plate's top edge, and the title's.
constexpr int kPlateTop = 3;

}  // namespace

CStaicTitle::CStaicTitle()
    : m_leftCap(SkinPath(u"\\Top_info_bg_l.png"), CXIMAGE_FORMAT_PNG),
      m_rightCap(SkinPath(u"Top_info_bg_r.png"), CXIMAGE_FORMAT_PNG),
      m_centre(SkinPath(u"Top_info_bg_c.png"), CXIMAGE_FORMAT_PNG),
      m_bar(SkinPath(u"Top_bg.png"), CXIMAGE_FORMAT_PNG) {
    MakeTitleFont(m_font);
}

void CStaicTitle::SetTitle(CString title) {
    m_prevTitle = m_title;
    m_title = title;
}

void CStaicTitle::PreSubclassWindow() {
    SetWindowPos(nullptr, 0, 0, GetBarWidth(), GetBarHeight(), SWP_NOMOVE | SWP_NOZORDER);
    CJHCanvas::PreSubclassWindow();
}

void CStaicTitle::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    CMemoryDC memory(&dc, CRect(0, 0, GetBarWidth(), GetBarHeight()));
    DrawBackground(&memory);
    memory.SetBkMode(TRANSPARENT);
    CFont* previousFont = memory.SelectObject(&m_font);
    const COLORREF previousColor = memory.SetTextColor(kWidgetLightText);
    const int textWidth = memory.GetTextExtent(m_title).cx;
    const int leftWidth = static_cast<int>(m_leftCap.GetWidth());
    // A title wider than the bar starts left of it and is cut at both ends.
    const int x = client.Width() / 2 - textWidth / 2 - leftWidth;
    m_bar.Draw(memory, 0, 0);
    DrawCappedStrip(memory, m_leftCap, m_centre, m_rightCap, x, kPlateTop, textWidth);
    CRect text(x + leftWidth, kPlateTop, x + leftWidth + textWidth, client.bottom);
    memory.DrawText(m_title, text, DT_SINGLELINE | DT_END_ELLIPSIS);
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}
