// The jumps between the user pages: the page that jumped to a user page
// with a user and is handed the user back when that page is done (its menu
// node and its page object), and the jump itself.
#pragma once

#include "panel/CPTreeBase.h"

// Shows the node's page as the panel's GotoNode does; the page is painted
// once more in the next paint pass, after the panel has repainted where the
// page it replaced was. Null when the node has no page.
CCPTreeBase* JumpToPage(UINT node, BOOL refresh);

class CCallerLink {
public:
    void Set(UINT node, CCPTreeBase* page) {
        m_node = node;
        m_page = page;
    }
    void Forget() { Set(0, nullptr); }
    UINT Node() const { return m_node; }

    // FALSE when no page called. Otherwise the caller's entered-from-menu
    // mark is cleared (so it keeps its state), the panel shows the caller's
    // node, the link is forgotten and `self` is hidden; TRUE.
    BOOL ReturnTo(CCPTreeBase& self);

private:
    UINT m_node = 0;
    CCPTreeBase* m_page = nullptr;
};
