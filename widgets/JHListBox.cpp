#include "widgets/JHListBox.h"

#include "platform/base/clock.h"

IMPLEMENT_DYNAMIC(CJHListBox, CEdit)

namespace {

// Enter that arrives this soon after the focus belongs to the key press
// that brought the focus here.
constexpr DWORD kEnterAfterFocusMs = 500;

}  // namespace

CJHListBox::CJHListBox() : m_focusTick(GetTickCount()) {}

void CJHListBox::PreSubclassWindow() {
    CRect place;
    GetWindowRect(&place);
    if (CWnd* parent = GetParent()) parent->ScreenToClient(&place);
    const int side = place.Height();
    place.DeflateRect(side, 0);
    MoveWindow(&place, TRUE);
    CEdit::PreSubclassWindow();
}

BOOL CJHListBox::AddItem(CString text, int value) {
    m_items.push_back({value, text});
    ShowCurrent();
    return TRUE;
}

int CJHListBox::GetCurSelValue() const { return m_items.empty() ? 0 : m_items[m_current].value; }

CString CJHListBox::GetCurSelText() const { return m_items.empty() ? CString() : m_items[m_current].text; }

BOOL CJHListBox::ResetContent() {
    m_current = 0;
    m_items.clear();
    return TRUE;
}

void CJHListBox::Enable(BOOL enable) {
    EnableWindow(enable);
    if (m_firstCompanion != nullptr) m_firstCompanion->EnableWindow(enable);
    if (m_secondCompanion != nullptr) m_secondCompanion->EnableWindow(enable);
}

void CJHListBox::ShowCurrent() { SetWindowText(GetCurSelText()); }

void CJHListBox::OnKeyDown(UINT ch, UINT repeat, UINT flags) {
    if (ch == VK_LEFT || ch == VK_RIGHT) return;
    CEdit::OnKeyDown(ch, repeat, flags);
}

void CJHListBox::OnKeyUp(UINT ch, UINT repeat, UINT flags) {
    const int count = static_cast<int>(m_items.size());
    if (ch == VK_LEFT || ch == VK_RIGHT) {
        // An empty list has no item to step to: the index stays at 0.
        if (count > 0) m_current = ch == VK_LEFT ? (m_current == 0 ? count : m_current) - 1 : (m_current + 1) % count;
        ShowCurrent();
        return;
    }
    if (ch == VK_RETURN && GetTickCount() - m_focusTick > kEnterAfterFocusMs)
        GetParent()->SendMessage(EditEnterMessage(), static_cast<WPARAM>(GetDlgCtrlID()), 0);
    CEdit::OnKeyUp(ch, repeat, flags);
}

void CJHListBox::OnSetFocus(CWnd* oldWnd) {
    CEdit::OnSetFocus(oldWnd);
    m_focusTick = GetTickCount();
}
