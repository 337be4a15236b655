#include "widgets/JHTabEdit.h"

IMPLEMENT_DYNAMIC(CJHTabEdit, CEdit)

void CJHTabEdit::OnKeyUp(UINT ch, UINT repeat, UINT flags) {
    if (ch == VK_UP && m_previous != nullptr) m_previous->SetFocus();
    if (ch == VK_DOWN && m_next != nullptr) m_next->SetFocus();
    CEdit::OnKeyUp(ch, repeat, flags);
}
