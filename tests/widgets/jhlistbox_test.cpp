// The value selector on an edit field, the arrow-key form field and the
// list under the skinned header: keys, focus moves, notifications.
#include "tests/widgets/widget_page.h"
#include "widgets/JHListBox.h"
#include "widgets/JHListCtrl.h"
#include "widgets/JHTabEdit.h"

namespace jhlistbox_test {
namespace {

constexpr int kBoxId = 2301;
constexpr int kLeftId = 2302;
constexpr int kRightId = 2303;
constexpr int kTabFirstId = 2311;
constexpr int kListId = 2321;

HWND Child(CWnd& parent, const char16_t* className, int id, int x, int y, int cx, int cy, DWORD style = 0) {
    return ::CreateWindowExW(0, className, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, cx, cy,
                             parent.m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), nullptr, nullptr);
}

class JHListBoxTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            Child(p, u"EDIT", kBoxId, 60, 100, 200, 24);
            box.SubclassDlgItem(kBoxId, &p);
            Child(p, u"BUTTON", kLeftId, 60, 100, 24, 24);
            Child(p, u"BUTTON", kRightId, 236, 100, 24, 24);
        }));
        box.SetFirstCompanion(page.GetDlgItem(kLeftId));
        box.SetSecondCompanion(page.GetDlgItem(kRightId));
        box.SetFocus();
        session.Pump();
    }
    void Fill() {
        box.AddItem(u"Alpha", 10);
        box.AddItem(u"Beta", 20);
        box.AddItem(u"Gamma", 30);
    }
    CString Shown() const {
        CString text;
        box.GetWindowText(text);
        return text;
    }
    int EditEnters() const {
        int count = 0;
        for (const auto& [message, id] : page.registered) count += message == EditEnterMessage() && id == kBoxId;
        return count;
    }

    CJHListBox box;
};

TEST_F(JHListBoxTest, FieldLeavesItsHeightFreeOnBothSides) {
    CRect window;
    box.GetWindowRect(&window);
    EXPECT_EQ(window, CRect(84, 100, 236, 124));
}

TEST_F(JHListBoxTest, FirstItemShowsAndArrowsWrapBothWays) {
    EXPECT_EQ(box.GetCurSelValue(), 0);
    EXPECT_EQ(box.GetCurSelText(), u"");
    Fill();
    EXPECT_EQ(Shown(), u"Alpha");
    EXPECT_EQ(box.GetCurSelValue(), 10);
    session.Run("key LEFT");
    EXPECT_EQ(Shown(), u"Gamma");
    EXPECT_EQ(box.GetCurSelValue(), 30);
    session.Run("key RIGHT");
    session.Run("key RIGHT");
    EXPECT_EQ(Shown(), u"Beta");
    EXPECT_EQ(box.GetCurSelText(), u"Beta");
    EXPECT_TRUE(page.registered.empty());  // stepping announces nothing
}

TEST_F(JHListBoxTest, ArrowsDoNotMoveTheCaretOrChangeTheText) {
    Fill();
    box.SetSel(2, 2);
    session.Run("keydown LEFT");
    EXPECT_EQ(box.GetSel(), static_cast<DWORD>(MAKELONG(2, 2)));
    EXPECT_EQ(Shown(), u"Alpha");  // the step comes with the key-up
    session.Run("keyup LEFT");
    EXPECT_EQ(Shown(), u"Gamma");
}

TEST_F(JHListBoxTest, OneItemStaysWhicheverWay) {
    box.AddItem(u"Only", 7);
    session.Run("key LEFT");
    EXPECT_EQ(Shown(), u"Only");
    session.Run("key RIGHT");
    EXPECT_EQ(Shown(), u"Only");
    EXPECT_EQ(box.GetCurSelValue(), 7);
}

TEST_F(JHListBoxTest, SteppingAnEmptyListKeepsTheFirstPlace) {
    session.Run("key LEFT");
    EXPECT_EQ(Shown(), u"");
    box.AddItem(u"First", 1);
    EXPECT_EQ(Shown(), u"First");
    EXPECT_EQ(box.GetCurSelValue(), 1);
    box.AddItem(u"Second", 2);
    session.Run("key RIGHT");
    EXPECT_EQ(box.GetCurSelValue(), 2);
}

TEST_F(JHListBoxTest, ResetKeepsTheShownTextAndStartsOver) {
    Fill();
    session.Run("key RIGHT");
    EXPECT_TRUE(box.ResetContent());
    EXPECT_EQ(Shown(), u"Beta");
    EXPECT_EQ(box.GetCurSelValue(), 0);
    EXPECT_EQ(box.GetCurSelText(), u"");
    box.AddItem(u"Delta", 40);
    EXPECT_EQ(Shown(), u"Delta");
}

// The release of Enter is what counts (its press is the page's business).
TEST_F(JHListBoxTest, EnterCountsOnlyHalfASecondAfterTheFocusCame) {
    Fill();
    session.Run("wait 400");
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 0);
    session.Run("wait 200");
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 1);
    // Focus taken again: the half second starts over.
    page.GetDlgItem(kLeftId)->SetFocus();
    box.SetFocus();
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 1);
    session.Run("wait 501");
    session.Run("keyup ENTER");
    EXPECT_EQ(EditEnters(), 2);
}

TEST_F(JHListBoxTest, EnableTakesTheCompanionsAlong) {
    box.Enable(FALSE);
    EXPECT_FALSE(box.IsWindowEnabled());
    EXPECT_FALSE(page.GetDlgItem(kLeftId)->IsWindowEnabled());
    EXPECT_FALSE(page.GetDlgItem(kRightId)->IsWindowEnabled());
    box.SetSecondCompanion(nullptr);
    box.Enable(TRUE);
    EXPECT_TRUE(box.IsWindowEnabled());
    EXPECT_TRUE(page.GetDlgItem(kLeftId)->IsWindowEnabled());
    EXPECT_FALSE(page.GetDlgItem(kRightId)->IsWindowEnabled());
}

TEST_F(JHListBoxTest, GoldenCycledValue) {
    Fill();
    session.Run("key RIGHT");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_jhlistbox_cycled"));
}

class JHTabEditTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            for (int i = 0; i < 3; ++i) {
                Child(p, u"EDIT", kTabFirstId + i, 100, 40 + 40 * i, 150, 24, WS_BORDER);
                fields[i].SubclassDlgItem(kTabFirstId + i, &p);
            }
        }));
        EXPECT_TRUE(fields[0].SetNextEdit(&fields[1]));
        EXPECT_TRUE(fields[1].SetPrevEdit(&fields[0]));
        EXPECT_TRUE(fields[1].SetNextEdit(&fields[2]));
        EXPECT_TRUE(fields[2].SetPrevEdit(&fields[1]));
        fields[0].SetWindowText(u"Anna");
        fields[1].SetWindowText(u"Berg");
        fields[2].SetWindowText(u"08:00");
        fields[0].SetFocus();
        session.Pump();
    }
    CJHTabEdit fields[3];
};

TEST_F(JHTabEditTest, UpAndDownMoveAlongTheForm) {
    session.Run("key DOWN");
    EXPECT_EQ(CWnd::GetFocus(), &fields[1]);
    session.Run("key DOWN");
    EXPECT_EQ(CWnd::GetFocus(), &fields[2]);
    session.Run("key DOWN");  // the last field has no next
    EXPECT_EQ(CWnd::GetFocus(), &fields[2]);
    session.Run("key UP");
    session.Run("key UP");
    EXPECT_EQ(CWnd::GetFocus(), &fields[0]);
    session.Run("key UP");
    EXPECT_EQ(CWnd::GetFocus(), &fields[0]);
}

TEST_F(JHTabEditTest, WithoutNeighboursKeysStayInTheField) {
    CJHTabEdit lone;
    Child(page, u"EDIT", kTabFirstId + 5, 100, 180, 150, 24, WS_BORDER);
    lone.SubclassDlgItem(kTabFirstId + 5, &page);
    lone.SetWindowText(u"abc");
    lone.SetFocus();
    lone.SetSel(1, 1);
    session.Run("key DOWN");
    session.Run("key UP");
    EXPECT_EQ(CWnd::GetFocus(), &lone);
    session.Run("key RIGHT");
    EXPECT_EQ(lone.GetSel(), static_cast<DWORD>(MAKELONG(2, 2)));  // other keys reach the edit
}

TEST_F(JHTabEditTest, GoldenFocusMovedDown) {
    session.Run("key DOWN");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_jhtabedit_moved"));
}

class JHListCtrlTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            Child(p, WC_LISTVIEW, kListId, 10, 30, 300, 150, LVS_REPORT);
            list.SubclassDlgItem(kListId, &p);
        }));
        list.InsertColumn(0, u"No.", LVCFMT_LEFT, 50);
        list.InsertColumn(1, u"Name", LVCFMT_LEFT, 150);
        list.InsertColumn(2, u"Time", LVCFMT_RIGHT, 80);
        session.Pump();
    }
    void Fill() {
        const char16_t* rows[][3] = {{u"1", u"Anna Berg", u"08:01"}, {u"2", u"Bruno Costa", u"08:14"},
                                     {u"3", u"李小龙", u"08:20"}};
        for (int i = 0; i < 3; ++i) {
            list.InsertItem(i, rows[i][0]);
            list.SetItemText(i, 1, rows[i][1]);
            list.SetItemText(i, 2, rows[i][2]);
        }
        session.Pump();
    }
    CJHListCtrl list;
};

TEST_F(JHListCtrlTest, SelectedItemIsTheLowestSelectedRow) {
    EXPECT_EQ(list.GetSelectedItem(), -1);
    Fill();
    EXPECT_EQ(list.GetSelectedItem(), -1);
    list.SetItemState(2, LVIS_SELECTED, LVIS_SELECTED);
    list.SetItemState(1, LVIS_SELECTED, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedItem(), 1);
    list.SetItemState(1, 0, LVIS_SELECTED);
    EXPECT_EQ(list.GetSelectedItem(), 2);
}

TEST_F(JHListCtrlTest, HeaderIsTheSkinnedOne) {
    Fill();
    CHeaderCtrl* header = list.GetHeaderCtrl();
    ASSERT_NE(header, nullptr);
    EXPECT_NE(dynamic_cast<CJHHeaderCtrl*>(header), nullptr);
    CRect headerRect;
    header->GetWindowRect(&headerRect);
    // Right of the last column the header shows the panel colour.
    EXPECT_EQ(ColorRefFromPixel(ScreenSurface().At(305, headerRect.top + 3) & 0xFFFFFF), WidgetPanelColor());
}

TEST_F(JHListCtrlTest, DeletedRowLeavesThePageBehind) {
    CRect headerRect;
    list.GetHeaderCtrl()->GetWindowRect(&headerRect);
    // Where the third row will be, as the page shows it without rows.
    const int y = headerRect.bottom + 2 * 18 + 8;
    const Pixel page = ScreenSurface().At(150, y);
    Fill();
    CRect row;
    list.GetItemRect(2, &row, LVIR_BOUNDS);
    ASSERT_LT(30 + row.top, y);
    ASSERT_GT(30 + row.bottom, y);
    EXPECT_NE(ScreenSurface().At(150, y), page);
    list.DeleteItem(2);
    session.Pump();
    EXPECT_EQ(ScreenSurface().At(150, y), page);
}

TEST_F(JHListCtrlTest, ListGoesWithItsHeaderWhileThePageStays) {
    HWND listWindow = nullptr;
    HWND headerWindow = nullptr;
    {
        CJHListCtrl passing;
        Child(page, WC_LISTVIEW, kListId + 1, 10, 190, 300, 40, LVS_REPORT);
        passing.SubclassDlgItem(kListId + 1, &page);
        passing.InsertColumn(0, u"No.", LVCFMT_LEFT, 50);
        listWindow = passing.m_hWnd;
        headerWindow = passing.GetHeaderCtrl()->m_hWnd;
        session.Pump();
    }
    EXPECT_FALSE(::IsWindow(listWindow));
    EXPECT_FALSE(::IsWindow(headerWindow));
    EXPECT_TRUE(::IsWindow(list.GetHeaderCtrl()->m_hWnd));
}

TEST_F(JHListCtrlTest, GoldenRowsUnderTheSkinnedHeader) {
    Fill();
    list.SetItemState(1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    list.SetFocus();
    session.Pump();
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_jhlistctrl_header"));
}

}  // namespace

}  // namespace jhlistbox_test
