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
