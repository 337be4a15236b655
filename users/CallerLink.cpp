#include "users/CallerLink.h"

#include "panel/ControlPanel.h"

CCPTreeBase* JumpToPage(UINT node, BOOL refresh) {
    CControlPanel* panel = CControlPanel::Open();
    CCPTreeBase* page = panel ? panel->GotoNode(node, refresh) : nullptr;
    if (page != nullptr && page->GetSafeHwnd() != nullptr)
        page->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return page;
}

BOOL CCallerLink::ReturnTo(CCPTreeBase& self) {
    if (m_node == 0) return FALSE;
    if (m_page != nullptr) m_page->m_bEnteredFromMenu = 0;
    const UINT node = m_node;
    Forget();
    JumpToPage(node, FALSE);
    self.m_bHidden = 1;
    self.ShowWindow(SW_HIDE);
    return TRUE;
}
