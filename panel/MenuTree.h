// The control panel's menu tree. A node's id tells where it lives: a child
// of node p is p * 10 + k (k 1..9); the root is node 1, and its children are
// the top-level entries 11 to 16. A node's caption is a text of section
// "CControlPanel"; its icon is the skin's "ControlPanel\ICON\<id>.PNG".
//
// Leaf nodes are pages. A leaf is part of the menu while a page is
// registered for it (PageRegistry.h); an entry with children always is.
#pragma once

#include <vector>

#include "platform/base/CString.h"
#include "platform/base/types.h"

inline constexpr UINT kMenuRoot = 1;

struct MenuNode {
    UINT id;
    const char16_t* textKey;
    const char16_t* defaultText;
    bool hasChildren;
};

// Every node, in menu order.
const std::vector<MenuNode>& MenuNodes();
// The node, or null when the tree has no node of that id.
const MenuNode* FindMenuNode(UINT id);
// True when the node is part of the menu now (see above).
bool IsMenuNodeShown(UINT id);
// The shown children of a node, in menu order.
std::vector<UINT> ShownChildren(UINT id);
inline UINT ParentNode(UINT id) { return id > kMenuRoot ? id / 10 : kMenuRoot; }
// The node's caption from the language file.
CString MenuNodeCaption(UINT id);
// The node's icon under the skin folder.
CString MenuNodeIconPath(UINT id);
