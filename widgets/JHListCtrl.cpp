#include "widgets/JHListCtrl.h"

#include "widgets/ListSelection.h"

IMPLEMENT_DYNAMIC(CJHListCtrl, CListCtrl)

int CJHListCtrl::GetSelectedItem() const { return FirstSelectedItem(*this); }

void CJHListCtrl::PreSubclassWindow() {
    CListCtrl::PreSubclassWindow();
    if (CHeaderCtrl* header = GetHeaderCtrl()) m_header.SubclassWindow(header->m_hWnd);
}
