#include "widgets/SelectButton.h"

#include "widgets/CanvasPaint.h"
#include "widgets/SkinDraw.h"

IMPLEMENT_DYNAMIC(CSelectButton, CJHCanvas)

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 400, 1, 6};
const WidgetFontSpec kOtherFont{u"微软雅黑", 14, 400, 1, 6};

void LoadIfMissing(std::unique_ptr<CxImage>& image, const char16_t* relative) {
    if (!image) image = std::make_unique<CxImage>(SkinPath(relative), CXIMAGE_FORMAT_PNG);
}

}  // namespace

CSelectButton::CSelectButton() { MakeWidgetFont(m_font, kTraditionalFont, kOtherFont, false); }

void CSelectButton::PreSubclassWindow() {
    LoadIfMissing(m_left, u"Dialog\\button_left.png");
    LoadIfMissing(m_right, u"Dialog\\button_right.png");
    LoadIfMissing(m_centre, u"Dialog\\button_center.png");
    CJHCanvas::PreSubclassWindow();
}

BOOL CSelectButton::PreTranslateMessage(MSG* msg) {
    if (msg->hwnd != m_hWnd || msg->wParam != VK_RETURN) return CJHCanvas::PreTranslateMessage(msg);
    if (msg->message == WM_KEYDOWN) {
        m_enterPressed = true;
    } else if (msg->message == WM_KEYUP && m_enterPressed) {
        // Only an Enter that went down here too: the key-up of an Enter that
        // moved the focus onto the button must not press it.
        ::SendMessageW(::GetParent(m_hWnd), EditEnterMessage(), static_cast<WPARAM>(GetDlgCtrlID()), 0);
        m_enterPressed = false;
    }
    return TRUE;
}

int CSelectButton::CaptionRoom() const {
    CRect client;
    GetClientRect(client);
    return client.Width() - CaptionLeft() - (m_right ? static_cast<int>(m_right->GetWidth()) : 0);
}

int CSelectButton::CaptionWidth(const CString& text) {
    CClientDC dc(this);
    CFont* previousFont = dc.SelectObject(&m_font);
    const int width = dc.GetTextExtent(text).cx;
    dc.SelectObject(previousFont);
    return width;
}

void CSelectButton::OnPaint() {
    CPaintDC paint(this);
    PaintFace(paint);
}

void CSelectButton::PaintFace(CDC& screen) {
    if (!m_left || !m_right || !m_centre) return;
    COffscreenCanvas canvas(this, &screen);
    CDC& memory = canvas.Dc();
    const int leftWidth = static_cast<int>(m_left->GetWidth());
    const int rightX = canvas.Client().Width() - static_cast<int>(m_right->GetWidth());
    memory.SetBkMode(TRANSPARENT);
    CFont* previousFont = memory.SelectObject(&m_font);
    const COLORREF previousColor =
        memory.SetTextColor(m_focused ? kWidgetLightText : kWidgetDarkText);
    m_left->Draw(memory, 0, 0);
    CRect face(leftWidth, 0, rightX, static_cast<int>(m_centre->GetHeight()) + 1);
    DrawStretched(*m_centre, memory, face.left, face.top, face.Width(), face.Height(), true);
    CRect caption = face;
    memory.DrawText(m_caption, caption, m_format);
    m_right->Draw(memory, rightX, 0);
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}

void CSelectButton::OnSetFocus(CWnd* oldWnd) {
    CJHCanvas::OnSetFocus(oldWnd);
    m_focused = true;
    Invalidate(TRUE);
    UpdateWindow();
}

void CSelectButton::OnKillFocus(CWnd* newWnd) {
    CJHCanvas::OnKillFocus(newWnd);
    m_focused = false;
    Invalidate(TRUE);
    UpdateWindow();
}
