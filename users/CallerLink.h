// The page that jumped to a user page with a user and is handed the user
// back when that page is done: its menu node and its page object.
#pragma once

#include "panel/CPTreeBase.h"

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
