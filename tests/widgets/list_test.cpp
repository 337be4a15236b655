// The skinned list and its header: rows in the page colours, the selection
// kept through painting, cut texts, and the header in the panel colour.
#include "platform/ui/commctrl.h"
#include "tests/widgets/widget_page.h"
#include "widgets/JHHeaderCtrl.h"
#include "widgets/SkinListCtrl.h"

namespace list_test {
namespace {

constexpr int kHeaderId = 1901;
constexpr int kListId = 1902;
constexpr COLORREF kPageColor = 0xE6D9AB;

struct Row {
    const char16_t* id;
    const char16_t* name;
    const char16_t* time;
};
const Row kRows[] = {{u"1", u"Anna Berg", u"08:01"},
                     {u"2", u"Bruno Castellanos-Villanueva", u"08:14"},
                     {u"3", u"李小龙", u"08:20"},
                     {u"4", u"Dara Singh", u"12:03"}};

class ListTest : public WidgetTest {
protected:
    // `ownerDrawn`: the record page's list under its own header; else the
    // user-search page's list, painted by the list itself.
    void Open(bool ownerDrawn) {
        ASSERT_TRUE(page.CreatePage([&](CWidgetTestPage& p) {
            if (ownerDrawn) {
                ::CreateWindowExW(0, WC_HEADER, u"", WS_CHILD | WS_VISIBLE, 10, 30, 300, 20, p.m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kHeaderId)), nullptr, nullptr);
                header.SubclassDlgItem(kHeaderId, &p);
            }
            ::CreateWindowExW(0, WC_LISTVIEW, u"", WS_CHILD | WS_VISIBLE | LVS_REPORT, 10, 50, 300, 120, p.m_hWnd,
                              reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kListId)), nullptr, nullptr);
            list.SubclassDlgItem(kListId, &p);
        }));
        list.ModifyStyle(0, ownerDrawn ? LVS_REPORT | LVS_OWNERDRAWFIXED | LVS_NOCOLUMNHEADER : LVS_NOCOLUMNHEADER);
        const struct {
            const char16_t* title;
            int format;
            int width;
        } columns[] = {{u"No.", LVCFMT_LEFT, 50}, {u"Name", LVCFMT_LEFT, 150}, {u"Time", LVCFMT_RIGHT, 100}};
        for (int i = 0; i < 3; ++i) {
            list.InsertColumn(i, columns[i].title, columns[i].format, columns[i].width);
            if (!ownerDrawn) continue;
            HDITEM item{};
            item.mask = HDI_TEXT | HDI_WIDTH;
            item.pszText = const_cast<char16_t*>(columns[i].title);
            item.cxy = columns[i].width;
            header.InsertItem(i, &item);
        }
        for (int i = 0; i < 4; ++i) {
            list.InsertItem(i, kRows[i].id);
            list.SetItemText(i, 1, kRows[i].name);
            list.SetItemText(i, 2, kRows[i].time);
        }
        page.Invalidate();
        session.Pump();
    }
    COLORREF ScreenAt(int x, int y) const { return ColorRefFromPixel(ScreenSurface().At(x, y) & 0xFFFFFF); }
    // Screen y of the middle of row `row`.
    int RowMiddle(int row) const {
        CRect rect;
        list.GetItemRect(row, &rect, LVIR_BOUNDS);
        return 50 + rect.top + 2;
    }

    CJHHeaderCtrl header;
    CSkinListCtrl list;
};

TEST_F(ListTest, SelectedRowShowsWhiteAndStaysSelected) {
    Open(false);
    EXPECT_EQ(list.GetSelectedItem(), -1);
    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    list.SetFocus();
    session.Pump();
    EXPECT_EQ(list.GetSelectedItem(), 2);  // the smallest of the two
    EXPECT_TRUE(list.IsItemSelected(3));
    EXPECT_EQ(ScreenAt(300, RowMiddle(2)), 0xFFFFFFu);
    EXPECT_EQ(ScreenAt(300, RowMiddle(0)), kPageColor);
    EXPECT_EQ(ScreenAt(300, 165), kPageColor);  // below the rows
}

TEST_F(ListTest, TapSelectsTheRowThePageReads) {
    Open(false);
    list.SetFocus();
    session.Run("tap 60 " + std::to_string(RowMiddle(1)));
    EXPECT_EQ(list.GetSelectedItem(), 1);
    session.Run("key DOWN");
    EXPECT_EQ(list.GetSelectedItem(), 2);
}

TEST_F(ListTest, OwnerDrawnFocusedRowInHighlightColours) {
    Open(true);
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetItemState(3, LVIS_SELECTED, LVIS_SELECTED);
    list.SetFocus();
    session.Pump();
    EXPECT_EQ(ScreenAt(300, RowMiddle(1)), GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(ScreenAt(300, RowMiddle(3)), kPageColor);  // selected, not focused
    EXPECT_EQ(list.GetSelectedItem(), 1);
    EXPECT_TRUE(list.IsItemSelected(3));
}

TEST_F(ListTest, HeaderPaintsThePanelColourBeyondItsColumns) {
    Open(true);
    EXPECT_EQ(ScreenAt(305, 40), WidgetPanelColor());  // right of the last column
    EXPECT_EQ(ScreenAt(30, 35), WidgetPanelColor());
}

TEST_F(ListTest, ShortStringCutsWithoutEllipsis) {
    Open(false);
    CClientDC dc(&list);
    const CString text = u"Castellanos";
    const int full = dc.GetTextExtent(text).cx;
    EXPECT_EQ(CSkinListCtrl::MakeShortString(&dc, text, full + 5, 4), text);
    // Exactly filling the width minus the offset is cut: the test is "less than".
    const CString cut = CSkinListCtrl::MakeShortString(&dc, text, full + 4, 4);
    EXPECT_EQ(cut, text.Left(text.GetLength() - 1));
    EXPECT_EQ(CSkinListCtrl::MakeShortString(&dc, text, 1, 4), u"C");
    EXPECT_EQ(CSkinListCtrl::MakeShortString(&dc, u"", 1, 4), u"");
}

// A stored text may be far longer than any cell (a restored database holds
// what its columns were given): it is cut as its start would be, and never
// between the two halves of a character outside the basic plane.
TEST_F(ListTest, ShortStringOfAVeryLongTextAndOfPairedCharacters) {
    Open(false);
    CClientDC dc(&list);
    const CString start = u"Castellanos Wilhelmina";
    CString longText = start;
    while (longText.GetLength() < 32000) longText += u'n';
    const int width = dc.GetTextExtent(start).cx;
    EXPECT_EQ(CSkinListCtrl::MakeShortString(&dc, longText, width, 4),
              CSkinListCtrl::MakeShortString(&dc, start, width, 4));

    const CString paired = u"\U00020000\U00020001\U00020002\U00020003\U00020004\U00020005";
    const int full = dc.GetTextExtent(paired).cx;
    for (int cell = 1; cell <= full + 5; ++cell) {
        const CString shown = CSkinListCtrl::MakeShortString(&dc, paired, cell, 4);
        ASSERT_FALSE(shown.IsEmpty());
        EXPECT_EQ(shown.GetLength() % 2, 0) << "cell " << cell << ": " << shown.GetLength() << " units";
    }
}

TEST_F(ListTest, GoldenSearchListWithSelectedRow) {
    Open(false);
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetFocus();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_list_search_selected"));
}

TEST_F(ListTest, GoldenRecordListWithHeaderAndFocusedRow) {
    Open(true);
    list.SetItemState(2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetFocus();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_list_records_header"));
}

}  // namespace

}  // namespace list_test
