// The date and time entry: what its fields start with, how typed digits
// shift in and restart at the limits, how Left and Right move between the
// fields, what reaches the page, and what it looks like.
#include <limits>

#include "platform/base/localtime.h"
#include "platform/ui/dc.h"
#include "platform/ui/textrun.h"
#include "tests/widgets/widget_page.h"
#include "widgets/LDDateCtrl.h"

namespace datectrl_test {
namespace {

constexpr int kDateId = 1701;
constexpr int kTimeId = 1702;
constexpr int kButtonId = 1703;
const CRect kDateRect(60, 60, 180, 84);
const CRect kTimeRect(60, 100, 180, 124);

// 29 February 2016, 13:07:45.
const SYSTEMTIME kNow{2016, 2, 1, 29, 13, 7, 45, 0};

class DateCtrlTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(SetLocalTime(&kNow));
        time.SetDateMode(false);  // switched before it is attached, as the pages do
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(date, kDateId, kDateRect.left, kDateRect.top, kDateRect.Width(), kDateRect.Height());
            p.AddWidget(time, kTimeId, kTimeRect.left, kTimeRect.top, kTimeRect.Width(), kTimeRect.Height());
            p.AddWidget(button, kButtonId, 60, 150, 120, 23);
        }));
        button.SetText(u"Save");
        session.Pump();
    }
    // The fields are told apart by their child ids: the control's handle
    // value plus 1001, 2001, 3001.
    static HWND Field(const CLDDateCtrl& control, int index) {
        const UINT_PTR offsets[] = {1001, 2001, 3001};
        const auto id = static_cast<int>(reinterpret_cast<UINT_PTR>(control.m_hWnd) + offsets[index]);
        return ::GetDlgItem(control.m_hWnd, id);
    }
    static CRect FieldRect(const CLDDateCtrl& control, int index) {
        CRect rect;
        ::GetWindowRect(Field(control, index), &rect);
        ::ScreenToClient(control.m_hWnd, reinterpret_cast<LPPOINT>(&rect.left));
        ::ScreenToClient(control.m_hWnd, reinterpret_cast<LPPOINT>(&rect.right));
        return rect;
    }
    void Type(const std::string& digits) {
        for (char digit : digits) session.Run(std::string("key ") + digit);
    }
    int EditEnters() const {
        int count = 0;
        for (const auto& entry : page.registered)
            if (entry.first == EditEnterMessage()) ++count;
        return count;
    }

    CLDDateCtrl date{true};
    CLDDateCtrl time{true};
    CSelectButton button;
};

TEST_F(DateCtrlTest, FieldsStartAtTheLocalDateOrTime) {
    EXPECT_EQ(date.GetYear(), 2016);
    EXPECT_EQ(date.GetMonth(), 2);
    EXPECT_EQ(date.GetDay(), 29);
    EXPECT_EQ(time.GetHour(), 13);
    EXPECT_EQ(time.GetMinute(), 7);
    EXPECT_EQ(time.GetSecond(), 45);
    // The getters do not look at the mode: year and hour are the first field.
    EXPECT_EQ(date.GetHour(), 2016);
    EXPECT_EQ(time.GetYear(), 13);
}

TEST_F(DateCtrlTest, ControlNotYetAttachedHasNoFields) {
    CLDDateCtrl loose(false);
    loose.SetHour(9);
    loose.SetMinute(30);
    loose.Clear();
    EXPECT_EQ(loose.GetHour(), -1);
    EXPECT_EQ(loose.GetMinute(), -1);
    EXPECT_EQ(loose.GetSecond(), -1);
}

TEST_F(DateCtrlTest, FocusGoesToTheFirstFieldAndArrowsWrapOnKeyUp) {
    date.SetFocus();
    EXPECT_EQ(::GetFocus(), Field(date, 0));
    session.Run("key LEFT");
    EXPECT_EQ(::GetFocus(), Field(date, 2));
    session.Run("keydown RIGHT");  // the press alone is swallowed without moving
    EXPECT_EQ(::GetFocus(), Field(date, 2));
    session.Run("keyup RIGHT");
    EXPECT_EQ(::GetFocus(), Field(date, 0));
    session.Run("key RIGHT");
    session.Run("key RIGHT");
    EXPECT_EQ(::GetFocus(), Field(date, 2));
    session.Run("key LEFT");
    EXPECT_EQ(::GetFocus(), Field(date, 1));
    // The arrows never reach the page's own navigation.
    for (int i = 0; i < 6; ++i) session.Run("key RIGHT");
    EXPECT_EQ(::GetFocus(), Field(date, 1));
}

TEST_F(DateCtrlTest, MonthRefusesAThirteenthMonthByRestartingAtTheDigit) {
    date.SetFocus();
    session.Run("key RIGHT");
    Type("1");  // 021 is out of range: 1 alone
    EXPECT_EQ(date.GetMonth(), 1);
    Type("3");  // 13
    EXPECT_EQ(date.GetMonth(), 3);
    Type("1");  // 31
    EXPECT_EQ(date.GetMonth(), 1);
    Type("2");  // 12 fits
    EXPECT_EQ(date.GetMonth(), 12);
    Type("5");  // 125
    EXPECT_EQ(date.GetMonth(), 5);
    Type("10");  // 51, then 10
    EXPECT_EQ(date.GetMonth(), 10);
    Type("20");  // 102 -> 2, then 20 -> 0: the lone digit is not checked
    EXPECT_EQ(date.GetMonth(), 0);
    // The other fields were not touched.
    EXPECT_EQ(date.GetYear(), 2016);
    EXPECT_EQ(date.GetDay(), 29);
}

TEST_F(DateCtrlTest, YearAndDayShiftInWithinTheirLimits) {
    date.SetFocus();
    Type("7");  // 20167 is above 9999
    EXPECT_EQ(date.GetYear(), 7);
    Type("201");  // 0072, 0720, 7201
    EXPECT_EQ(date.GetYear(), 7201);
    session.Run("key LEFT");
    Type("0");  // 290 -> 0
    Type("3");
    EXPECT_EQ(date.GetDay(), 3);
    Type("1");  // 31 fits
    EXPECT_EQ(date.GetDay(), 31);
    Type("2");  // 312 -> 2
    EXPECT_EQ(date.GetDay(), 2);
}

TEST_F(DateCtrlTest, TimeFieldsStayWithinHoursAndMinutes) {
    time.SetFocus();
    Type("2");  // 132 -> 2
    EXPECT_EQ(time.GetHour(), 2);
    Type("3");  // 23 fits
    EXPECT_EQ(time.GetHour(), 23);
    Type("4");  // 234 -> 4
    Type("5");  // 45 is no hour -> 5
    EXPECT_EQ(time.GetHour(), 5);
    session.Run("key RIGHT");
    Type("6");  // 076 -> 76 -> 6
    EXPECT_EQ(time.GetMinute(), 6);
    Type("0");  // 60 is no minute
    EXPECT_EQ(time.GetMinute(), 0);
    Type("59");
    EXPECT_EQ(time.GetMinute(), 59);
    session.Run("key RIGHT");
    Type("9");  // 459 -> 9
    Type("9");  // 99 -> 9
    EXPECT_EQ(time.GetSecond(), 9);
    EXPECT_EQ(time.GetHour(), 5);
}

// 24 is no hour: its 4 starts the hour over, as a minute's 60 does.
TEST_F(DateCtrlTest, TwentyFourIsNoHour) {
    time.SetFocus();
    Type("24");
    EXPECT_EQ(time.GetHour(), 4);
}

// Digits arrive as typed characters, so a digit counts as its key goes
// down, unlike the arrows, which move on their release.
TEST_F(DateCtrlTest, ADigitCountsWhenItsKeyGoesDown) {
    date.SetFocus();
    session.Run("key RIGHT");
    session.Run("keydown 4");
    EXPECT_EQ(date.GetMonth(), 4);
    session.Run("keyup 4");
    EXPECT_EQ(date.GetMonth(), 4);
}

TEST_F(DateCtrlTest, OtherKeysChangeNothingAndEnterIsThePages) {
    date.SetFocus();
    session.Run("key RIGHT");
    session.Run("key BACK");
    session.Run("key STAR");
    session.Run("key HASH");
    ::SendMessageW(Field(date, 1), WM_CHAR, u'x', 0);
    EXPECT_EQ(date.GetMonth(), 2);
    session.Run("key ENTER");
    // No "EditEnter" of its own: the page's key handling takes Enter.
    EXPECT_EQ(EditEnters(), 0);
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{IDOK, BN_CLICKED}}));
}

TEST_F(DateCtrlTest, TapBesideTheFieldsReachesThePageAndATapOnAFieldFocusesIt) {
    session.Run("tap 61 70");
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kDateId, 0u}}));
    session.Run("tap 140 70");
    EXPECT_EQ(::GetFocus(), Field(date, 1));
    Type("4");
    EXPECT_EQ(date.GetMonth(), 4);
}

TEST_F(DateCtrlTest, ClearAndTheSetters) {
    date.Clear();
    EXPECT_EQ(date.GetYear(), 0);
    EXPECT_EQ(date.GetMonth(), 0);
    EXPECT_EQ(date.GetDay(), 0);
    time.SetHour(8);
    time.SetMinute(5);
    time.SetSecond(30);
    EXPECT_EQ(time.GetHour(), 8);
    EXPECT_EQ(time.GetMinute(), 5);
    EXPECT_EQ(time.GetSecond(), 30);
    // A cleared field takes digits from "00" on.
    date.SetFocus();
    Type("19");
    EXPECT_EQ(date.GetYear(), 19);
}

TEST_F(DateCtrlTest, FieldsShareTheWidthByMode) {
    // 120 pixels: a tenth is 12. The first field starts past the face's
    // rounded left end, 8 pixels wide.
    EXPECT_EQ(FieldRect(date, 0), CRect(8, 0, 66, 24));
    EXPECT_EQ(FieldRect(date, 1), CRect(66, 0, 100, 24));  // 66 + 34.8
    EXPECT_EQ(FieldRect(date, 2), CRect(100, 0, 119, 24));
    EXPECT_EQ(FieldRect(time, 0), CRect(8, 0, 39, 24));  // 39.6
    EXPECT_EQ(FieldRect(time, 1), CRect(39, 0, 78, 24));
    EXPECT_EQ(FieldRect(time, 2), CRect(78, 0, 119, 24));
    // A mode changed after attaching moves the fields at the next paint but
    // keeps their limits.
    date.SetDateMode(false);
    date.Invalidate();
    session.Pump();
    EXPECT_EQ(FieldRect(date, 1), CRect(39, 0, 78, 24));
    date.SetFocus();
    Type("150");  // 0001, 0015, 0150: still a year, no hour
    EXPECT_EQ(date.GetYear(), 150);
}

// The first digits stand clear of the face's rounded left end, in both
// modes: "(00" is no hour.
TEST_F(DateCtrlTest, TheFirstDigitsClearTheRoundedLeftEnd) {
    for (CLDDateCtrl* control : {&date, &time}) {
        CRect field;
        ::GetWindowRect(Field(*control, 0), &field);
        LONG firstLetter = std::numeric_limits<LONG>::max();
        SetTextRunObserver([&](const DrawnTextRun& run) {
            // The field paints off-screen, in its own coordinates.
            const LONG toScreen = run.dc->surface == GetScreenSurface() ? 0 : field.left;
            for (const RECT& letter : run.letters) firstLetter = std::min(firstLetter, letter.left + toScreen);
        });
        ::RedrawWindow(Field(*control, 0), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        SetTextRunObserver(nullptr);
        CRect face;
        control->GetWindowRect(face);
        EXPECT_GE(firstLetter, face.left + control->CaptionLeft());
    }
}

TEST_F(DateCtrlTest, GoldenDateAndTimeWithAFocusedField) {
    date.SetFocus();
    session.Run("key RIGHT");
    Type("13");  // shows 03
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_date_month_focused"));
    time.SetFocus();
    session.Run("key LEFT");
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_date_time_second_focused"));
}

// The field on its own, on a page that drives its capture.
class NumericFieldTest : public WidgetTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            field.Create(WS_CHILD | WS_VISIBLE, CRect(40, 40, 120, 60), &p, 1711);
            p.captures.push_back([this, &p](CDC* dc) { field.CaptureBackground(&p, dc, 1); });
        }));
        field.SetRange(0, 500);
        session.Pump();
    }
    CEditST field;
};

TEST_F(NumericFieldTest, TextThatIsNoNumberReadsAsMinusOne) {
    EXPECT_EQ(field.GetValue(), -1);  // empty
    field.SetValueText(u"x12");
    EXPECT_EQ(field.GetValue(), -1);
    field.SetValueText(u"12x");
    EXPECT_EQ(field.GetValue(), 12);
    // A digit after text that is no number starts the number with the digit.
    field.SetValueText(u"x");
    field.SetFocus();
    session.Run("key 7");
    EXPECT_EQ(field.GetValueText(), u"0007");  // a maximum above 100 pads to four digits
    session.Run("key 3");
    EXPECT_EQ(field.GetValueText(), u"0073");
    session.Run("key 9");  // 739 is above the maximum
    EXPECT_EQ(field.GetValueText(), u"0009");
}

}  // namespace

}  // namespace datectrl_test
