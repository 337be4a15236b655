// The tree view as the department page drives it: inserting under items,
// walking, selecting and expanding with their notifications, deleting.
#include <gtest/gtest.h>

#include <vector>

#include "platform/ui/afxcmn.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

struct TreeNotice {
    UINT code;
    UINT action;
    HTREEITEM oldItem;
    HTREEITEM newItem;
    LPARAM newParam;
    UINT newState;
};

class TreeViewTest : public RecordingTest {
protected:
    TreeViewTest() {
        page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
        rec.handlers[{page, WM_NOTIFY}] = [this](WPARAM, LPARAM lParam) -> LRESULT {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            if (header->code == TVN_SELCHANGED || header->code == TVN_ITEMEXPANDED || header->code == TVN_SELCHANGING) {
                auto* tv = reinterpret_cast<NMTREEVIEW*>(lParam);
                notices.push_back(TreeNotice{header->code, tv->action, tv->itemOld.hItem, tv->itemNew.hItem,
                                             tv->itemNew.lParam, tv->itemNew.state});
                if (header->code == TVN_SELCHANGING) return refuseSelection;
            } else {
                others.push_back(header->code);
            }
            return 0;
        };
        tree.Attach(CreateWindowExW(0, WC_TREEVIEW, u"", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_LINESATROOT, 10,
                                    10, 150, 190, page, reinterpret_cast<HMENU>(1070), nullptr, nullptr));
    }
    ~TreeViewTest() override { tree.Detach(); }

    // Head office (1) with Sales (2) and Works (3); Works has Assembly (4).
    void Build() {
        head = tree.InsertItem(TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE, u"Head office", 0, 0, 0, 0, 1,
                               TVI_ROOT, TVI_LAST);
        sales = Add(u"Sales", 2, head);
        works = Add(u"Works", 3, head);
        assembly = Add(u"Assembly", 4, works);
    }
    HTREEITEM Add(const char16_t* text, LPARAM id, HTREEITEM parent) {
        TVINSERTSTRUCT insert{};
        insert.hParent = parent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<char16_t*>(text);
        insert.item.lParam = id;
        return tree.InsertItem(&insert);
    }
    std::vector<TreeNotice> Of(UINT code) const {
        std::vector<TreeNotice> out;
        for (const TreeNotice& n : notices) {
            if (n.code == code) out.push_back(n);
        }
        return out;
    }

    HWND page = nullptr;
    CTreeCtrl tree;
    HTREEITEM head = nullptr;
    HTREEITEM sales = nullptr;
    HTREEITEM works = nullptr;
    HTREEITEM assembly = nullptr;
    std::vector<TreeNotice> notices;
    std::vector<UINT> others;
    LRESULT refuseSelection = FALSE;
};

TEST_F(TreeViewTest, InsertAndWalkByParentChildAndSiblings) {
    Build();
    EXPECT_EQ(tree.GetCount(), 4u);
    EXPECT_EQ(tree.GetRootItem(), head);
    EXPECT_EQ(tree.GetChildItem(head), sales);
    EXPECT_EQ(tree.GetNextSiblingItem(sales), works);
    EXPECT_EQ(tree.GetNextSiblingItem(works), nullptr);
    EXPECT_EQ(tree.GetPrevSiblingItem(works), sales);
    EXPECT_EQ(tree.GetParentItem(assembly), works);
    EXPECT_EQ(tree.GetParentItem(head), nullptr);
    EXPECT_EQ(tree.GetChildItem(sales), nullptr);
    EXPECT_TRUE(tree.ItemHasChildren(works));
    EXPECT_FALSE(tree.ItemHasChildren(sales));
    EXPECT_EQ(tree.GetItemData(assembly), 4u);
    EXPECT_EQ(tree.GetItemText(works), CString(u"Works"));
    EXPECT_TRUE(tree.SetItemText(works, u"Factory"));
    EXPECT_EQ(tree.GetItemText(works), CString(u"Factory"));
    HTREEITEM first = tree.InsertItem(u"First", head, TVI_FIRST);
    EXPECT_EQ(tree.GetChildItem(head), first);
    HTREEITEM middle = tree.InsertItem(u"Middle", head, sales);
    EXPECT_EQ(tree.GetNextSiblingItem(sales), middle);
    // Only expanded items show their children in the visible order.
    EXPECT_EQ(tree.GetNextVisibleItem(head), nullptr);
    tree.Expand(head, TVE_EXPAND);
    EXPECT_EQ(tree.GetNextVisibleItem(head), first);
    EXPECT_EQ(tree.GetLastVisibleItem(), works);
}

TEST_F(TreeViewTest, SelectingNotifiesOldAndNewItems) {
    Build();
    EXPECT_TRUE(tree.SelectItem(works));
    ASSERT_EQ(Of(TVN_SELCHANGED).size(), 1u);
    TreeNotice changed = Of(TVN_SELCHANGED)[0];
    EXPECT_EQ(changed.oldItem, nullptr);
    EXPECT_EQ(changed.newItem, works);
    EXPECT_EQ(changed.newParam, 3);
    EXPECT_TRUE(changed.newState & TVIS_SELECTED);
    EXPECT_EQ(tree.GetSelectedItem(), works);
    EXPECT_TRUE(tree.GetItemState(head, TVIS_EXPANDED) & TVIS_EXPANDED) << "selecting shows the item";
    notices.clear();
    EXPECT_TRUE(tree.SelectItem(works));
    EXPECT_TRUE(notices.empty()) << "selecting the selected item sends nothing";
    refuseSelection = TRUE;
    EXPECT_FALSE(tree.SelectItem(sales));
    EXPECT_EQ(tree.GetSelectedItem(), works) << "the parent may refuse a change";
    refuseSelection = FALSE;
    notices.clear();
    tree.SelectItem(sales);
    ASSERT_EQ(Of(TVN_SELCHANGED).size(), 1u);
    EXPECT_EQ(Of(TVN_SELCHANGED)[0].oldItem, works);
    EXPECT_FALSE(tree.GetItemState(works, TVIS_SELECTED));
}

TEST_F(TreeViewTest, ExpandingAndCollapsingNotifyOnceAndCollapsingMovesTheSelectionUp) {
    Build();
    tree.Expand(head, TVE_EXPAND);
    tree.SelectItem(assembly);
    notices.clear();
    EXPECT_TRUE(tree.Expand(works, TVE_COLLAPSE));
    std::vector<TreeNotice> expanded = Of(TVN_ITEMEXPANDED);
    ASSERT_EQ(expanded.size(), 1u);
    EXPECT_EQ(expanded[0].action, static_cast<UINT>(TVE_COLLAPSE));
    EXPECT_EQ(expanded[0].newItem, works);
    EXPECT_EQ(expanded[0].newParam, 3);
    EXPECT_EQ(tree.GetSelectedItem(), works) << "a hidden selection moves to the collapsed item";
    notices.clear();
    EXPECT_TRUE(tree.Expand(works, TVE_COLLAPSE));
    EXPECT_TRUE(Of(TVN_ITEMEXPANDED).empty()) << "already collapsed";
    EXPECT_TRUE(tree.Expand(works, TVE_TOGGLE));
    ASSERT_EQ(Of(TVN_ITEMEXPANDED).size(), 1u);
    EXPECT_EQ(Of(TVN_ITEMEXPANDED)[0].action, static_cast<UINT>(TVE_EXPAND));
    EXPECT_FALSE(tree.Expand(sales, TVE_EXPAND)) << "nothing to expand";
}

TEST_F(TreeViewTest, ArrowKeysWalkTheVisibleItems) {
    Build();
    tree.SetFocus();
    EXPECT_NE(std::find(others.begin(), others.end(), NM_SETFOCUS), others.end());
    session.Run("key DOWN");
    EXPECT_EQ(tree.GetSelectedItem(), head);
    session.Run("key RIGHT");
    EXPECT_TRUE(tree.GetItemState(head, TVIS_EXPANDED) & TVIS_EXPANDED);
    session.Run("key DOWN");
    session.Run("key DOWN");
    EXPECT_EQ(tree.GetSelectedItem(), works);
    EXPECT_EQ(Of(TVN_SELCHANGED).back().action, static_cast<UINT>(TVC_BYKEYBOARD));
    session.Run("key DOWN");
    EXPECT_EQ(tree.GetSelectedItem(), works) << "Assembly is not visible until Works is expanded";
    session.Run("key LEFT");
    EXPECT_EQ(tree.GetSelectedItem(), head);
    session.Run("key UP");
    EXPECT_EQ(tree.GetSelectedItem(), head);
}

TEST_F(TreeViewTest, TapsSelectAndTheButtonToggles) {
    Build();
    session.Pump();
    RECT row{};
    ASSERT_TRUE(tree.GetItemRect(head, &row, TRUE));
    // The tree lies at (10, 10); the label begins after the root button.
    session.Run("tap " + std::to_string(10 + row.left + 4) + " " + std::to_string(10 + row.top + 4));
    EXPECT_EQ(tree.GetSelectedItem(), head);
    EXPECT_EQ(Of(TVN_SELCHANGED).back().action, static_cast<UINT>(TVC_BYMOUSE));
    EXPECT_FALSE(tree.GetItemState(head, TVIS_EXPANDED));
    session.Run("tap " + std::to_string(10 + row.left - 8) + " " + std::to_string(10 + row.top + 4));
    EXPECT_TRUE(tree.GetItemState(head, TVIS_EXPANDED) & TVIS_EXPANDED);
}

TEST_F(TreeViewTest, DeletedItemsAreForgottenAndTheirHandlesRefused) {
    Build();
    tree.SelectItem(assembly);
    EXPECT_TRUE(tree.DeleteItem(works));
    EXPECT_EQ(tree.GetCount(), 2u);
    EXPECT_EQ(tree.GetSelectedItem(), nullptr) << "the selection went with the item";
    EXPECT_EQ(tree.GetNextSiblingItem(sales), nullptr);
    EXPECT_FALSE(tree.DeleteItem(assembly)) << "a stale handle";
    EXPECT_EQ(tree.GetItemData(works), 0u);
    EXPECT_FALSE(tree.SetItemText(works, u"x"));
    EXPECT_TRUE(tree.DeleteAllItems());
    EXPECT_EQ(tree.GetCount(), 0u);
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

}  // namespace
