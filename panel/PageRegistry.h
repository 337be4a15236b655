// Which control-panel page serves which menu node.
//
// A page joins the menu with one line in PageList.cpp:
//     RegisterControlPanelPage<CCPTreeAddUser>(121);
// the page class being default-constructible (its constructor passes its
// dialog template id and a null parent to CCPTreeBase). The control panel
// constructs every registered page once when it opens, creates a page's
// window on its first visit and deletes the pages when it closes.
#pragma once

#include <functional>
#include <memory>

#include "panel/CPTreeBase.h"

using ControlPanelPageFactory = std::function<std::unique_ptr<CCPTreeBase>()>;

// Replaces the factory of the node; a null factory removes the page.
void SetControlPanelPage(UINT node, ControlPanelPageFactory factory);
// The node's factory, or null.
const ControlPanelPageFactory* FindControlPanelPage(UINT node);

template <class Page>
void RegisterControlPanelPage(UINT node) {
    SetControlPanelPage(node, [] { return std::unique_ptr<CCPTreeBase>(std::make_unique<Page>()); });
}

// The pages of the terminal (PageList.cpp); runs once, at the first lookup.
void RegisterMenuPages();
