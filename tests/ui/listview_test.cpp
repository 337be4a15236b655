// The list view in report view and its header, as pages drive them: items and
// sub-items, the selection by taps and keys with LVN_ITEMCHANGED, owner draw
// and custom draw.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/afxcmn.h"
#include "platform/ui/afxwin.h"
#include "platform/ui/gdi.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

constexpr int kListId = 66;
constexpr int kRowHeight = 20;

struct Change {
    int item;
    UINT oldState;
    UINT newState;
};

class ListViewTest : public RecordingTest {
protected:
    ListViewTest() {
        page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
        rec.handlers[{page, WM_NOTIFY}] = [this](WPARAM, LPARAM lParam) -> LRESULT {
            auto* header = reinterpret_cast<NMHDR*>(lParam);
            codes.push_back(header->code);
            if (header->code == LVN_ITEMCHANGED) {
                auto* change = reinterpret_cast<NMLISTVIEW*>(lParam);
                changes.push_back(Change{change->iItem, change->uOldState, change->uNewState});
            }
            if (header->code == NM_CUSTOMDRAW && customDraw) return customDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(lParam));
            return 0;
        };
        rec.handlers[{page, WM_MEASUREITEM}] = [](WPARAM, LPARAM lParam) -> LRESULT {
            reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = kRowHeight;
            return TRUE;
        };
        rec.handlers[{page, WM_DRAWITEM}] = [this](WPARAM, LPARAM lParam) -> LRESULT {
            drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        };
    }

    // A list at (10, 20) of 200 x `height` with three columns and `rows` rows
    // "r<i>" / "s<i>".
    HWND MakeList(DWORD style, int rows, int height = 130) {
        HWND list = CreateWindowExW(0, WC_LISTVIEW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT | style, 10, 20, 200, height,
                                    page, reinterpret_cast<HMENU>(static_cast<intptr_t>(kListId)), nullptr, nullptr);
        const char16_t* titles[] = {u"ID", u"Name", u"Dept"};
        for (int c = 0; c < 3; ++c) {
            LVCOLUMNW column{LVCF_TEXT | LVCF_WIDTH | LVCF_FMT, c == 2 ? LVCFMT_RIGHT : LVCFMT_LEFT, 60,
                             const_cast<char16_t*>(titles[c]), 0, 0};
            SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(c), reinterpret_cast<LPARAM>(&column));
        }
        for (int i = 0; i < rows; ++i) {
            std::u16string label = u"r" + std::u16string(1, static_cast<char16_t>(u'0' + i));
            LVITEMW item{};
            item.mask = LVIF_TEXT | LVIF_PARAM;
            item.iItem = i;
            item.pszText = label.data();
            item.lParam = 1000 + i;
            SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
            std::u16string sub = u"s" + std::u16string(1, static_cast<char16_t>(u'0' + i));
            item.iSubItem = 1;
            item.pszText = sub.data();
            SendMessageW(list, LVM_SETITEMTEXTW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        }
        return list;
    }
    static UINT State(HWND list, int item) {
        return static_cast<UINT>(SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED | LVIS_FOCUSED));
    }
    static void SetState(HWND list, int item, UINT state, UINT mask) {
        LVITEMW lv{};
        lv.state = state;
        lv.stateMask = mask;
        SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    }
    static int NextSelected(HWND list, int start) {
        return static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(start), LVNI_SELECTED));
    }
    void Clear() {
        codes.clear();
        changes.clear();
        drawn.clear();
    }

    HWND page = nullptr;
    std::vector<UINT> codes;
    std::vector<Change> changes;
    std::vector<DRAWITEMSTRUCT> drawn;
    std::function<LRESULT(NMLVCUSTOMDRAW*)> customDraw;
};

TEST_F(ListViewTest, ItemsSubItemsAndDataFollowInsertsAndDeletes) {
    CListCtrl list;
    list.Attach(MakeList(0, 3));
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_EQ(list.GetItemText(1, 0), CString(u"r1"));
    EXPECT_EQ(list.GetItemText(1, 1), CString(u"s1"));
    EXPECT_EQ(list.GetItemText(1, 2), CString(u"")) << "a sub-item never set is empty";
    EXPECT_EQ(list.GetItemText(7, 0), CString(u"")) << "no such row";
    EXPECT_EQ(list.GetItemData(2), 1002u);
    EXPECT_EQ(list.InsertItem(1, u"new"), 1);
    EXPECT_EQ(list.GetItemText(2, 0), CString(u"r1"));
    EXPECT_TRUE(list.SetItemData(1, 55));
    EXPECT_TRUE(list.DeleteItem(0));
    EXPECT_EQ(list.GetItemData(0), 55u);
    EXPECT_EQ(list.GetItemCount(), 3);
    EXPECT_FALSE(list.DeleteItem(3));
    EXPECT_EQ(list.InsertItem(99, u"end"), 3) << "an index past the end appends";
    LVCOLUMN column{};
    column.mask = LVCF_FMT | LVCF_WIDTH;
    EXPECT_TRUE(list.GetColumn(2, &column));
    EXPECT_EQ(column.fmt, LVCFMT_RIGHT);
    EXPECT_EQ(column.cx, 60);
    EXPECT_FALSE(list.GetColumn(3, &column)) << "owner-drawn rows read columns until this fails";
    EXPECT_TRUE(list.DeleteAllItems());
    EXPECT_EQ(list.GetItemCount(), 0);
    list.Detach();
}

TEST_F(ListViewTest, HeaderIsChildZeroWithTheColumnTitles) {
    HWND list = MakeList(0, 0);
    HWND header = GetDlgItem(list, 0);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0)), header);
    char16_t className[32] = {};
    GetClassNameW(header, className, 32);
    EXPECT_EQ(std::u16string(className), u"SysHeader32");
    EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 3);
    char16_t text[16] = {};
    HDITEMW item{HDI_TEXT, 0, text, nullptr, 16, 0, 0};
    EXPECT_TRUE(SendMessageW(header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(std::u16string(text), u"Name");
    SendMessageW(list, LVM_SETCOLUMNWIDTH, 1, MAKELPARAM(80, 0));
    RECT rect{};
    EXPECT_TRUE(SendMessageW(header, HDM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect)));
    EXPECT_EQ(rect.left, 140) << "widths set on the list reach the header";
    EXPECT_EQ(rect.right, 200);
    session.Pump();
    EXPECT_TRUE(IsWindowVisible(header));
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_NOCOLUMNHEADER);
    InvalidateRect(list, nullptr, TRUE);
    session.Pump();
    EXPECT_FALSE(IsWindowVisible(header));
}

TEST_F(ListViewTest, TapsSelectOneRowAndNotifyTheParent) {
    HWND list = MakeList(LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 5);
    session.Pump();
    Clear();
    // Row 2 lies at y 40..60 in the list, 60..80 on the screen.
    session.Run("tap 30 65");
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(State(list, 2), static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTIONMARK, 0, 0), 2);
    ASSERT_EQ(changes.size(), 1u);
    EXPECT_EQ(changes[0].item, 2);
    EXPECT_EQ(changes[0].newState, static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED));
    EXPECT_NE(std::find(codes.begin(), codes.end(), NM_CLICK), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), NM_SETFOCUS), codes.end());
    Clear();
    session.Run("tap 30 25");
    EXPECT_EQ(NextSelected(list, -1), 0);
    EXPECT_EQ(NextSelected(list, 0), -1) << "single selection";
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].item, 2);  // loses selection and focus first
    EXPECT_EQ(changes[0].newState, 0u);
    EXPECT_EQ(changes[1].item, 0);
}

TEST_F(ListViewTest, UpAndDownMoveTheSelectionAndScroll) {
    // Four whole rows fit in 90 pixels without a header.
    HWND list = MakeList(LVS_SINGLESEL | LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 8, 90);
    EXPECT_EQ(SendMessageW(list, LVM_GETCOUNTPERPAGE, 0, 0), 4);
    SetFocus(list);
    session.Run("key DOWN");
    EXPECT_EQ(NextSelected(list, -1), 0) << "the first key chooses the first row";
    for (int i = 0; i < 4; ++i) session.Run("key DOWN");
    EXPECT_EQ(NextSelected(list, -1), 4);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 1) << "the chosen row is scrolled into view";
    Clear();
    session.Run("key UP");
    EXPECT_EQ(NextSelected(list, -1), 3);
    EXPECT_NE(std::find(codes.begin(), codes.end(), LVN_KEYDOWN), codes.end());
    EXPECT_EQ(codes.front(), LVN_KEYDOWN) << "the parent hears of the key before the selection moves";
    for (int i = 0; i < 10; ++i) session.Run("key UP");
    EXPECT_EQ(NextSelected(list, -1), 0);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 0);
    SendMessageW(list, LVM_SCROLL, 0, 3 * kRowHeight);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 3);
    SendMessageW(list, LVM_SCROLL, 0, 50 * kRowHeight);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 4) << "scrolling stops at the last page";
    SendMessageW(list, LVM_ENSUREVISIBLE, 1, FALSE);
    EXPECT_EQ(SendMessageW(list, LVM_GETTOPINDEX, 0, 0), 1);
}

TEST_F(ListViewTest, OwnerDrawGetsRowRectanglesAndStates) {
    HWND list = MakeList(LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 3);
    SetState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    SetFocus(list);
    session.Pump();
    Clear();
    InvalidateRect(list, nullptr, TRUE);
    session.Pump();
    ASSERT_EQ(drawn.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const DRAWITEMSTRUCT& d = drawn[static_cast<size_t>(i)];
        EXPECT_EQ(d.CtlType, static_cast<UINT>(ODT_LISTVIEW));
        EXPECT_EQ(d.CtlID, static_cast<UINT>(kListId));
        EXPECT_EQ(d.itemID, static_cast<UINT>(i));
        EXPECT_EQ(d.itemAction, static_cast<UINT>(ODA_DRAWENTIRE));
        EXPECT_EQ(d.hwndItem, list);
        EXPECT_EQ(d.itemData, static_cast<ULONG_PTR>(1000 + i));
        EXPECT_EQ(d.rcItem.left, 0);
        EXPECT_EQ(d.rcItem.top, i * kRowHeight);
        EXPECT_EQ(d.rcItem.right, 180) << "three columns of 60";
        EXPECT_EQ(d.rcItem.bottom, (i + 1) * kRowHeight);
    }
    EXPECT_EQ(drawn[0].itemState, 0u);
    EXPECT_EQ(drawn[1].itemState, static_cast<UINT>(ODS_SELECTED | ODS_FOCUS));
    RECT label{LVIR_LABEL, 0, 0, 0};
    EXPECT_TRUE(SendMessageW(list, LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&label)));
    EXPECT_EQ(label.right, 60) << "the label is column 0";
    EXPECT_EQ(label.top, 2 * kRowHeight);
    LVHITTESTINFO hit{};
    hit.pt = POINT{100, 25};
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.iSubItem, 1);
    hit.pt = POINT{100, 100};
    EXPECT_EQ(SendMessageW(list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
}

TEST_F(ListViewTest, HeaderMovesRowsDownWhenShown) {
    HWND list = MakeList(LVS_OWNERDRAWFIXED, 2);
    session.Pump();
    RECT header;
    GetClientRect(GetDlgItem(list, 0), &header);
    ASSERT_GT(header.bottom, 0);
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
    EXPECT_EQ(row.top, header.bottom + kRowHeight);
}

// The skinned list's way: the selection is taken off a row in its item
// pre-paint and put back in its post-paint, so that the row is drawn plain.
TEST_F(ListViewTest, SelectionClearedInPrePaintIsDrawnPlainAndRestoredSilently) {
    HWND list = MakeList(LVS_NOCOLUMNHEADER | LVS_OWNERDRAWFIXED, 3);
    SetFocus(list);
    SetState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    session.Pump();
    std::vector<DWORD> stages;
    bool wasSelected = false;
    customDraw = [&](NMLVCUSTOMDRAW* draw) -> LRESULT {
        stages.push_back(draw->nmcd.dwDrawStage);
        int item = static_cast<int>(draw->nmcd.dwItemSpec);
        switch (draw->nmcd.dwDrawStage) {
        case CDDS_PREPAINT:
            return CDRF_NOTIFYITEMDRAW;
        case CDDS_ITEMPREPAINT:
            wasSelected = State(list, item) & LVIS_SELECTED;
            if (wasSelected) SetState(list, item, 0, LVIS_SELECTED);
            return CDRF_NOTIFYPOSTPAINT;
        case CDDS_ITEMPOSTPAINT:
            if (wasSelected) SetState(list, item, 0xFF, LVIS_SELECTED);
            return CDRF_DODEFAULT;
        default:
            return CDRF_DODEFAULT;
        }
    };
    Clear();
    InvalidateRect(list, nullptr, TRUE);
    session.Pump();
    EXPECT_TRUE(changes.empty()) << "state changes made while painting are not notified";
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[2].itemState, static_cast<UINT>(ODS_FOCUS)) << "exactly the focus bit";
    EXPECT_EQ(stages.front(), static_cast<DWORD>(CDDS_PREPAINT));
    EXPECT_EQ(stages.size(), 7u) << "pre-paint, then pre- and post-paint of each row";
    EXPECT_EQ(NextSelected(list, -1), 2) << "still selected after the paint";
    Clear();
    session.Pump();
    EXPECT_TRUE(drawn.empty()) << "restoring the state inside the paint asks for no new paint";
}

TEST_F(ListViewTest, RowsMadeOwnerDrawnLaterAskTheParentForTheirHeight) {
    HWND list = MakeList(LVS_NOCOLUMNHEADER, 3);
    RECT plain{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&plain));
    ASSERT_NE(plain.bottom - plain.top, kRowHeight);
    SetWindowLongW(list, GWL_STYLE, GetWindowLongW(list, GWL_STYLE) | LVS_OWNERDRAWFIXED);
    RECT owner{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&owner));
    EXPECT_EQ(owner.top, kRowHeight);
    EXPECT_EQ(owner.bottom, 2 * kRowHeight);
}

// Custom-draw colours of a row drawn by the list itself, into a DC the
// caller gives (as a list that buffers its painting does).
TEST_F(ListViewTest, PlainRowsUseTheCustomDrawColoursInAGivenDC) {
    HWND list = MakeList(LVS_NOCOLUMNHEADER, 3);
    const COLORREF marked = RGB(0x12, 0x34, 0x56);
    customDraw = [&](NMLVCUSTOMDRAW* draw) -> LRESULT {
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT && draw->nmcd.dwItemSpec == 1) draw->clrTextBk = marked;
        return CDRF_DODEFAULT;
    };
    SendMessageW(list, LVM_SETTEXTBKCOLOR, 0, RGB(0xE6, 0xD9, 0xAB));
    HDC screen = GetDC(list);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 130);
    HGDIOBJ old = SelectObject(memory, bitmap);
    SendMessageW(list, WM_PAINT, reinterpret_cast<WPARAM>(memory), 0);
    RECT row1{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(list, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row1));
    EXPECT_EQ(GetPixel(memory, 150, row1.top + 1), marked);
    EXPECT_EQ(GetPixel(memory, 150, row1.top - 2), RGB(0xE6, 0xD9, 0xAB));
    EXPECT_EQ(GetPixel(memory, 190, row1.top + 1), RGB(0, 0, 0)) << "right of the columns nothing is drawn";
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(list, screen);
}

TEST_F(ListViewTest, SetItemStateOnAllRowsAndTheNextSelectedWalk) {
    HWND list = MakeList(0, 4);
    SetState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0), 4);
    SetState(list, 1, 0, LVIS_SELECTED);
    EXPECT_EQ(NextSelected(list, -1), 0);
    EXPECT_EQ(NextSelected(list, 0), 2);
    EXPECT_EQ(SendMessageW(list, LVM_GETNEXTITEM, 3, MAKELPARAM(LVNI_SELECTED | LVNI_ABOVE, 0)), 2);
    SetState(list, 3, LVIS_FOCUSED, LVIS_FOCUSED);
    SetState(list, 0, LVIS_FOCUSED, LVIS_FOCUSED);
    EXPECT_EQ(State(list, 3) & LVIS_FOCUSED, 0u) << "one focused row at most";
    Clear();
    SetState(list, 0, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_TRUE(changes.empty()) << "no change, no notification";
}

class PaintedHeader : public CHeaderCtrl {
public:
    void OnPaint() override {
        ++paints;
        CHeaderCtrl::OnPaint();
    }
    int paints = 0;
};

// A list that draws its header itself binds an object of its own to it.
class ListWithOwnHeader : public CListCtrl {
public:
    void PreSubclassWindow() override {
        CListCtrl::PreSubclassWindow();
        header.SubclassWindow(GetHeaderCtrl()->GetSafeHwnd());
    }
    PaintedHeader header;
};

TEST_F(ListViewTest, HeaderObjectOfTheListAndOneBoundByASubclass) {
    CListCtrl plain;
    plain.Attach(MakeList(0, 1));
    CHeaderCtrl* view = plain.GetHeaderCtrl();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->GetItemCount(), 3);
    CRect second;
    EXPECT_TRUE(view->GetItemRect(1, second));
    EXPECT_EQ(second.left, 60);
    plain.Detach();

    ListWithOwnHeader own;
    own.SubclassWindow(MakeList(0, 1));
    EXPECT_EQ(own.GetHeaderCtrl(), &own.header);
    session.Pump();
    EXPECT_GT(own.header.paints, 0);
    own.UnsubclassWindow();
}

}  // namespace
