#include "widgets/TransButton.h"

#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CTransButton, CButton)

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 0, 1, 6};
const WidgetFontSpec kOtherFont{u"微软雅黑", 14, 0, 1, 6};

// The caption's band at the bottom of the button.
constexpr int kCaptionHeight = 17;

}  // namespace

CTransButton::CTransButton() { MakeWidgetFont(m_font, kTraditionalFont, kOtherFont); }

void CTransButton::PreSubclassWindow() {
    // The same bit the canvases add as SS_NOTIFY; on a button it is BS_LEFT.
    ModifyStyle(0, BS_LEFT, SWP_NOSIZE);
    CWnd::PreSubclassWindow();
}

void CTransButton::SetImage(CString path) {
    m_image = std::make_unique<CxImage>(path, CXIMAGE_FORMAT_PNG);
    SetWindowPos(nullptr, 0, 0, static_cast<int>(m_image->GetWidth()), static_cast<int>(m_image->GetHeight()),
                 SWP_NOMOVE | SWP_NOZORDER);
    if (!m_selectionMark) m_selectionMark = AcquireSkinImage(u"ControlPanel\\ICON\\sbg.png", CXIMAGE_FORMAT_PNG);
}

BOOL CTransButton::OnEraseBkgnd(CDC*) { return TRUE; }

void CTransButton::OnPaint() {
    CCanvasPaint paint(this);
    CDC& memory = paint.Dc();
    const CRect& client = paint.Client();
    CFont* previousFont = memory.SelectObject(&m_font);
    CRect caption = client;
    if (m_image) {
        if (m_focused && m_selectionMark) m_selectionMark->Draw(memory, 1, 1);
        caption.top = client.Height() - kCaptionHeight;
        m_image->Draw(memory, 0, 0);
    }
    const COLORREF previousColor = memory.SetTextColor(kWidgetDarkText);
    memory.SetBkMode(TRANSPARENT);
    memory.DrawText(m_caption, caption, DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS);
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}

// The button's own focus handling is left out: the selection frame is the
// only focus mark.
void CTransButton::OnSetFocus(CWnd*) {
    m_focused = true;
    Invalidate(TRUE);
    UpdateWindow();
}

void CTransButton::OnKillFocus(CWnd*) {
    m_focused = false;
    Invalidate(TRUE);
    UpdateWindow();
}
