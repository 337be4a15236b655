#include "widgets/JHEdit.h"

#include "widgets/MemoryDC.h"

IMPLEMENT_DYNAMIC(CJHEdit, CEdit)

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 30, 900, 1, 6};
const WidgetFontSpec kOtherFont{u"Century Gothic", 28, 900, 1, 6};

}  // namespace

CJHEdit::CJHEdit() { MakeWidgetFont(m_font, kTraditionalFont, kOtherFont); }

BOOL CJHEdit::SetBackground(CWnd*, CxImage* pageImage) {
    m_pageImage = pageImage;
    SetFont(&m_font, TRUE);
    return TRUE;
}

BOOL CJHEdit::SetImageFile(int index, CString path) {
    if (!m_images.LoadFile(index, path)) return FALSE;
    FitTo(index);
    return TRUE;
}

BOOL CJHEdit::SetImage(int index, CxImage* image) {
    if (!m_images.Lend(index, image)) return FALSE;
    FitTo(index);
    return TRUE;
}

void CJHEdit::FitTo(int index) {
    const CxImage* image = m_images[index];
    if (image == nullptr || m_hWnd == nullptr) return;
    SetWindowPos(nullptr, 0, 0, static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()),
                 SWP_NOMOVE | SWP_NOZORDER);
}

BOOL CJHEdit::OnEraseBkgnd(CDC* dc) {
    // Where the field lies on the page is read at each paint, so a field
    // moved or resized after SetBackground still shows the page under it.
    CRect place;
    GetWindowRect(&place);
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&place);
    const CRect client(0, 0, place.Width(), place.Height());
    CMemoryDC memory(dc, client);
    memory.SetBkMode(TRANSPARENT);
    if (m_pageImage != nullptr) m_pageImage->Draw(memory, -place.left, -place.top);
    const int slot = !IsWindowEnabled() ? kDisabled : m_focused ? kFocused : kNormal;
    if (const CxImage* image = m_images[slot]) image->Draw(memory, 0, 0);
    return TRUE;
}

HBRUSH CJHEdit::CtlColor(CDC* dc, UINT) {
    dc->SetBkMode(TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
}

BOOL CJHEdit::OnReflectedCommand(UINT notifyCode) {
    switch (notifyCode) {
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
        m_focused = notifyCode == EN_SETFOCUS;
        Invalidate();
        return TRUE;
    case EN_CHANGE:
    case EN_UPDATE:
    case EN_MAXTEXT:
        Invalidate();
        return TRUE;
    default:
        return FALSE;
    }
}

void CJHEdit::OnLButtonDown(UINT flags, CPoint point) {
    CEdit::OnLButtonDown(flags, point);
    Invalidate();
}

void CJHEdit::OnLButtonUp(UINT flags, CPoint point) {
    CEdit::OnLButtonUp(flags, point);
    Invalidate();
}
