#include "widgets/JHSelectBox.h"

#include "platform/base/clock.h"
#include "widgets/CanvasPaint.h"
#include "widgets/SkinDraw.h"

IMPLEMENT_DYNAMIC(CJHSelectBox, CJHCanvas)

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 0, 1, 6};
const WidgetFontSpec kOtherFont{u"tohamo", 14, 0, 1, 6};

// A page may hand the box the focus with this command.
constexpr UINT kFocusCommand = 12;
// An Enter released this soon after the box got the focus belongs to the
// control the focus came from.
constexpr DWORD kEnterGuardMs = 500;
// How long a pressed arrow stays on screen after an arrow key went down.
constexpr DWORD kPressedArrowMs = 300;

SharedSkinImage DialogImage(const char16_t* relative) { return AcquireSkinImage(relative, CXIMAGE_FORMAT_PNG); }

}  // namespace

CJHSelectBox::CJHSelectBox()
    : m_firstColor(GetSysColor(COLOR_STATIC)), m_secondColor(GetSysColor(COLOR_STATIC)) {}

BOOL CJHSelectBox::AddItem(CString text, int value) {
    m_items.push_back(Item{value, text});
    if (m_current == -1) {
        MakeCurrent(0);
        PostSelChange();
        m_notified = 0;
    }
    // A SetCurSel made while items were added is announced now.
    NotifyIfChanged();
    return TRUE;
}

int CJHSelectBox::GetCurSelValue() const { return m_items.empty() ? 0 : m_items[static_cast<size_t>(m_current)].value; }

CString CJHSelectBox::GetCurSelText() const {
    return m_items.empty() ? CString() : m_items[static_cast<size_t>(m_current)].text;
}

BOOL CJHSelectBox::ResetContent() {
    m_items.clear();
    m_current = -1;
    m_stepped = false;
    return TRUE;
}

BOOL CJHSelectBox::SetCurSelByValue(int value) {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].value != value) continue;
        MakeCurrent(static_cast<int>(i));
        NotifyIfChanged();
        return TRUE;
    }
    return FALSE;
}

BOOL CJHSelectBox::SetCurSelByText(CString text) {
    for (size_t i = 0; i < m_items.size(); ++i) {
        if (m_items[i].text != text) continue;
        MakeCurrent(static_cast<int>(i));
        PostSelChange();
        return TRUE;
    }
    return FALSE;
}

void CJHSelectBox::SetCurSel(UINT index) {
    if (!m_items.empty() && index <= m_items.size() - 1) MakeCurrent(static_cast<int>(index));
}

void CJHSelectBox::SetColors(BOOL flag, COLORREF first, COLORREF second) {
    m_colorFlag = flag;
    m_firstColor = first;
    if (second != m_secondColor) m_brush.DeleteObject();
    m_secondColor = second;
}

void CJHSelectBox::MakeCurrent(int index) {
    m_current = index;
    m_shownText = m_items[static_cast<size_t>(index)].text;
}

void CJHSelectBox::NotifyIfChanged() {
    if (m_notified == m_current) return;
    PostSelChange();
    m_notified = m_current;
}

void CJHSelectBox::PostSelChange() const {
    ::PostMessageW(::GetParent(m_hWnd), SelChangeMessage(), static_cast<WPARAM>(GetDlgCtrlID()), 0);
}

void CJHSelectBox::SelectNext() {
    const int count = static_cast<int>(m_items.size());
    StepTo(m_current == count - 1 ? 0 : m_current + 1);
}

void CJHSelectBox::SelectPrev() {
    const int count = static_cast<int>(m_items.size());
    StepTo(m_current == 0 ? count - 1 : m_current - 1);
}

void CJHSelectBox::StepTo(int index) {
    m_stepped = true;
    if (m_items.empty()) {
        m_shownText.Empty();
    } else {
        MakeCurrent(index);
        NotifyIfChanged();
    }
    Invalidate(TRUE);
    UpdateWindow();
}

CRect CJHSelectBox::CalcArrowRects() {
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int height = client.Height();
    const int leftWidth = HasImages() ? static_cast<int>(m_leftImage->GetWidth()) : 0;
    const int rightWidth = HasImages() ? static_cast<int>(m_rightImage->GetWidth()) : 0;
    const int arrowHeight = HasImages() ? static_cast<int>(m_rightImage->GetHeight()) : 0;
    const int top = height / 2 - arrowHeight / 2;
    const int bottom = height / 2 + arrowHeight / 2;
    m_leftArrow.SetRect(0, top, leftWidth, bottom);
    m_rightArrow.SetRect(width - rightWidth, top, width, bottom);
    return CRect(leftWidth, 0, width - rightWidth, height);
}

bool CJHSelectBox::HasImages() const {
    return m_background && m_leftImage && m_rightImage && m_leftDownImage && m_rightDownImage;
}

void CJHSelectBox::PreSubclassWindow() {
    if (!m_leftImage) m_leftImage = DialogImage(u"Dialog\\input_l.png");
    if (!m_rightImage) m_rightImage = DialogImage(u"Dialog\\input_r.png");
    if (!m_rightDownImage) m_rightDownImage = DialogImage(u"Dialog\\input_dr.png");
    if (!m_leftDownImage) m_leftDownImage = DialogImage(u"Dialog\\input_dl.png");
    if (!m_background) m_background = DialogImage(u"Dialog\\select_bg.png");
    MakeWidgetFont(m_font, kTraditionalFont, kOtherFont);
    CalcArrowRects();
    CJHCanvas::PreSubclassWindow();
}

void CJHSelectBox::OnPaint() {
    if (!HasImages()) {
        CPaintDC nothing(this);
        return;
    }
    CalcArrowRects();
    CRect client;
    GetClientRect(&client);
    const int width = client.Width();
    const int leftWidth = static_cast<int>(m_leftImage->GetWidth());
    const int rightX = width - static_cast<int>(m_rightImage->GetWidth()) + 2;
    // An arrow key's press shows its pressed arrow once, held for a moment;
    // a finger holding an arrow shows none.
    const bool leftDown = m_leftPressed;
    const bool rightDown = m_rightPressed;
    m_leftPressed = false;
    m_rightPressed = false;
    {
        CCanvasPaint paint(this);
        CDC& memory = paint.Dc();
        CFont* previousFont = memory.SelectObject(&m_font);
        memory.SetTextColor(kWidgetDarkText);
        memory.SetBkMode(TRANSPARENT);
        (leftDown ? m_leftDownImage : m_leftImage)->Draw(memory, 0, 0);
        (rightDown ? m_rightDownImage : m_rightImage)->Draw(memory, rightX, 0);
        DrawStretched(*m_background, memory, leftWidth, 0, rightX - leftWidth,
                      static_cast<long>(m_background->GetHeight()), false);
        if (m_focused) memory.SetTextColor(kWidgetLightText);
        CRect text(leftWidth, 0, rightX, client.Height());
        memory.DrawText(m_shownText, text, DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS);
        memory.SelectObject(previousFont);
    }
    if (leftDown || rightDown) Sleep(kPressedArrowMs);
}

void CJHSelectBox::OnLButtonDown(UINT flags, CPoint point) {
    SetFocus();
    if (m_leftArrow.PtInRect(point)) {
        SetCapture();
        m_leftCapture = TRUE;
        Invalidate(TRUE);
    }
    if (m_rightArrow.PtInRect(point)) {
        SetCapture();
        m_rightCapture = TRUE;
        Invalidate(TRUE);
    }
    CJHCanvas::OnLButtonDown(flags, point);
}

void CJHSelectBox::OnLButtonUp(UINT flags, CPoint point) {
    if (m_leftCapture || m_rightCapture) ReleaseCapture();
    m_leftCapture = FALSE;
    m_rightCapture = FALSE;
    Invalidate(TRUE);
    // A release on an arrow steps, wherever the press landed.
    if (m_leftArrow.PtInRect(point)) SelectPrev();
    if (m_rightArrow.PtInRect(point)) SelectNext();
    CJHCanvas::OnLButtonUp(flags, point);
}

void CJHSelectBox::OnKeyDown(UINT ch, UINT repeat, UINT flags) {
    if (ch == VK_LEFT || ch == VK_RIGHT) {
        (ch == VK_LEFT ? m_leftPressed : m_rightPressed) = true;
        Invalidate(TRUE);
        Invalidate(FALSE);
        // Painted now: a key-up queued behind this key-down would otherwise
        // step first and leave the pressed arrow on screen.
        UpdateWindow();
    }
    CJHCanvas::OnKeyDown(ch, repeat, flags);
}

void CJHSelectBox::OnKeyUp(UINT ch, UINT repeat, UINT flags) {
    if (ch == VK_LEFT) {
        SelectPrev();
        return;
    }
    if (ch == VK_RIGHT) {
        SelectNext();
        return;
    }
    if (ch == VK_RETURN && GetTickCount() - m_focusTime > kEnterGuardMs) {
        ::SendMessageW(::GetParent(m_hWnd), EditEnterMessage(), static_cast<WPARAM>(GetDlgCtrlID()), 0);
    }
    CJHCanvas::OnKeyUp(ch, repeat, flags);
}

UINT CJHSelectBox::OnGetDlgCode() { return CJHCanvas::OnGetDlgCode() | DLGC_WANTALLKEYS; }

void CJHSelectBox::OnSetFocus(CWnd* oldWnd) {
    CJHCanvas::OnSetFocus(oldWnd);
    m_focusTime = GetTickCount();
    m_focused = true;
    Invalidate(TRUE);
    UpdateWindow();
}

void CJHSelectBox::OnKillFocus(CWnd* newWnd) {
    CJHCanvas::OnKillFocus(newWnd);
    m_focused = false;
    Invalidate(TRUE);
    UpdateWindow();
}

BOOL CJHSelectBox::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == kFocusCommand) {
        SetFocus();
        return TRUE;
    }
    return CJHCanvas::OnCommand(wParam, lParam);
}

HBRUSH CJHSelectBox::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
    if (ctlColor != CTLCOLOR_STATIC) return CJHCanvas::OnCtlColor(dc, wnd, ctlColor);
    dc->SetBkMode(TRANSPARENT);
    if (m_brush.GetSafeHandle() == nullptr) m_brush.CreateSolidBrush(m_secondColor);
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

// Unlike the other canvases the box lets its window erase as usual.
BOOL CJHSelectBox::OnEraseBkgnd(CDC* dc) { return CWnd::OnEraseBkgnd(dc); }
