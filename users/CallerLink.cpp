#include "users/CallerLink.h"

#include "panel/ControlPanel.h"

BOOL CCallerLink::ReturnTo(CCPTreeBase& self) {
    if (m_node == 0) return FALSE;
    if (m_page != nullptr) m_page->m_bEnteredFromMenu = 0;
    const UINT node = m_node;
    Forget();
    if (CControlPanel* panel = CControlPanel::Open()) panel->GotoNode(node, FALSE);
    self.m_bHidden = 1;
    self.ShowWindow(SW_HIDE);
    return TRUE;
}
