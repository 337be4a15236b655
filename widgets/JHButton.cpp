#include "widgets/JHButton.h"

#include "widgets/MemoryDC.h"
#include "widgets/SkinDraw.h"

IMPLEMENT_DYNAMIC(CJHButton, CButton)

namespace {

constexpr COLORREF kFocusFrameColor = 0x008000;
constexpr int kFocusFrameInsetX = 10;
constexpr int kFocusFrameInsetY = 7;

}  // namespace

void CJHButton::PreSubclassWindow() {
    TakeOverDrawing();
    CButton::PreSubclassWindow();
}

BOOL CJHButton::SetImageFile(int index, CString path) { return m_images.LoadFile(index, path); }

BOOL CJHButton::SetImage(int index, CxImage* image) { return m_images.Lend(index, image); }

DWORD CJHButton::SetUserState(BYTE state, BOOL repaint) {
    if (state > 1) return kButtonInvalidValue;
    m_userState = state;
    Repaint(repaint);
    return kButtonOk;
}

void CJHButton::SetForcedImage(int index) {
    const int next = CImageSlots::IsSlot(index) ? index : -1;
    if (next == m_forcedImage) return;
    m_forcedImage = next;
    Repaint(TRUE);
}

void CJHButton::SetSolidBackground(BOOL solid, COLORREF color) {
    m_solid = solid != FALSE;
    m_solidColor = color;
}

void CJHButton::ToggleFocusFrame() {
    m_focusFrame = !m_focusFrame;
    Repaint(TRUE);
}

void CJHButton::OnLButtonDown(UINT flags, CPoint point) {
    if (m_toggle) m_checked = !m_checked;
    CButton::OnLButtonDown(flags, point);
}

const CxImage* CJHButton::ImageToDraw() const {
    int slot = kFocused;
    if (m_forcedImage >= 0) slot = m_forcedImage;
    else if (m_disabled) slot = (m_toggle && !m_pressed) ? kToggleDisabled : kFocused;
    else if (m_pressed) slot = kPressed;
    else if (m_toggle || !m_focused) slot = kNormal;
    return m_images[slot];
}

void CJHButton::DrawItem(LPDRAWITEMSTRUCT item) {
    CRect client;
    GetClientRect(&client);
    m_pressed = IsPressed(item->itemState);
    m_focused = (item->itemState & ODS_FOCUS) != 0;
    m_disabled = (item->itemState & ODS_DISABLED) != 0;

    CDC* target = CDC::FromHandle(item->hDC);
    CMemoryDC memory(target, client);
    CFont* font = GetFont();
    CFont* previousFont = font != nullptr ? memory.SelectObject(font) : nullptr;
    memory.SetBkMode(TRANSPARENT);

    if (m_solid) {
        CBrush brush(m_solidColor);
        memory.FillRect(client, &brush);
    } else {
        // What the screen shows under the button, covered by the copy of the
        // page once one was taken.
        memory.BitBlt(0, 0, client.Width(), client.Height(), target, 0, 0, SRCCOPY);
        DrawBackground(&memory);
    }

    if (const CxImage* image = ImageToDraw())
        DrawStretched(*image, memory, 0, 0, client.Width(), client.Height(), false);

    const CString caption = ButtonCaption(this);
    if (!caption.IsEmpty() && !m_toggle)
        DrawButtonCaption(memory, caption, client, m_pressed, m_disabled, m_colors[3], m_colors[2]);

    if (m_focusFrame) {
        CPen pen(PS_DASH, 1, kFocusFrameColor);
        CPen* previousPen = memory.SelectObject(&pen);
        CGdiObject* previousBrush = memory.SelectStockObject(NULL_BRUSH);
        memory.Rectangle(client.left + kFocusFrameInsetX, client.top + kFocusFrameInsetY,
                         client.right - kFocusFrameInsetX, client.bottom - kFocusFrameInsetY);
        memory.SelectObject(previousBrush);
        memory.SelectObject(previousPen);
    }
    if (previousFont != nullptr) memory.SelectObject(previousFont);
}
