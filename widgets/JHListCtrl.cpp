#include "widgets/JHListCtrl.h"

#include "widgets/ListSelection.h"

IMPLEMENT_DYNAMIC(CJHListCtrl, CListCtrl)

CJHListCtrl::~CJHListCtrl() {
    if (m_header.m_hWnd != nullptr) m_header.UnsubclassWindow();
}

int CJHListCtrl::GetSelectedItem() const { return FirstSelectedItem(*this); }

void CJHListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    if (CHeaderCtrl* header = GetHeaderCtrl()) m_header.SubclassWindow(header->m_hWnd);
}

LRESULT CJHListCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CListCtrl::WindowProc(message, wParam, lParam);
    const bool shrinks = message == LVM_DELETEITEM || message == LVM_DELETEALLITEMS ||
                         message == LVM_DELETECOLUMN || message == LVM_SETCOLUMNWIDTH;
    CWnd* parent = GetParent();
    if (shrinks && parent != nullptr) {
        // The list paints no background: without this a removed row would stay on the screen.
        CRect under;
        GetWindowRect(&under);
        parent->ScreenToClient(&under);
        parent->InvalidateRect(&under, TRUE);
    }
    return result;
}
