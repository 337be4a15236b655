// CControlPanel: the administrator's menu, a modal dialog over the main
// screen that leaves the main window's bottom task bar in sight. A title bar
// names where the user is; below it either the grid of the current menu
// entry's children (icons with captions, walked with the arrows, Enter and
// touch; ESC goes up a level and, at the top, out) or the page of a leaf.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "panel/CPTreeBase.h"
#include "panel/MenuTree.h"
#include "panel/PanelScreen.h"
#include "widgets/ImagaBotton.h"

class CControlPanel : public CPanelScreen {
public:
    static constexpr UINT IDD = 129;
    // Icons per screen: two rows of four.
    static constexpr int kGridColumns = 4;
    static constexpr int kGridSlots = 8;

    // `startNode` 0 opens the top-level menu; another node is gone to at once.
    explicit CControlPanel(CWnd* parent, UINT startNode = 0);
    ~CControlPanel() override;

    // Shows the node: an entry with children shows its grid; a leaf shows its
    // page (its window made on the first visit, EnterPage on every one).
    // When the page shows, the grid behind it becomes the leaf's parent's,
    // rebuilt at once when `refresh`. Returns the leaf's page (also when its
    // EnterPage refused), null for a menu entry or a node not in the menu.
    CCPTreeBase* GotoNode(UINT id, BOOL refresh);

    // The node whose grid is shown or lies behind the shown page.
    UINT CurrentNode() const { return m_currentNode; }
    // The node of the selected icon, or of the shown page.
    UINT SelectedNode() const { return m_selectedNode; }
    CCPTreeBase* ShownPage() const { return m_shownPage; }
    // The page object of a node, constructed with the panel; null when the
    // node has no page.
    CCPTreeBase* PageOf(UINT node) const;

    // The panel on the screen, or null.
    static CControlPanel* Open();

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnNcDestroy() override;
    void OnOK() override {}
    void OnCancel() override {}

private:
    // Fills the grid with the node's children, `selected` chosen (the first
    // when it is not among them); it shows with ShowGrid.
    void FillGrid(UINT node, UINT selected);
    void ShowGrid();
    void HideGrid();
    void HideShownPage();
    void OpenSelected();
    void Select(int index);
    void MoveSelection(int step);
    void GoUp();
    void OnPageLeave(CCPTreeBase* page);
    bool TakeGridKey(const MSG& msg);

    UINT m_startNode;
    std::map<UINT, std::unique_ptr<CCPTreeBase>> m_pages;
    CImagaBotton m_icons[kGridSlots];
    std::vector<UINT> m_entries;
    UINT m_currentNode = kMenuRoot;
    UINT m_selectedNode = 0;
    int m_selected = -1;
    CCPTreeBase* m_shownPage = nullptr;
};

// Opens the panel over `owner` (a modal loop until the user leaves it), or,
// when it is open already, goes to `startNode` there.
void RunControlPanel(CWnd* owner, UINT startNode = 0);
