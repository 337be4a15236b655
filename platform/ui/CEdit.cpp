#include "platform/ui/CEdit.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    return CWnd::Create(WC_EDIT, u"", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
    if (!noScroll) SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD low = 0;
    DWORD high = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
    start = static_cast<int>(low);
    end = static_cast<int>(high);
}
