// The owner-drawn icon button: flat, raised and toggled looks, which icon
// each state shows and where, what a tap opens, and its setters' answers.
#include "platform/base/debug.h"
#include "platform/ui/icon.h"
#include "platform/ui/menu.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/test_images.h"
#include "tests/widgets/widget_page.h"
#include "widgets/OwnerDrawButton.h"

namespace ownerdrawbutton_test {
namespace {

constexpr int kFirstId = 2501;
constexpr UINT kMenuId = 2590;
constexpr UINT kExportCommand = 2591;
constexpr UINT kImportCommand = 2592;

const MenuTemplate kMenu{kMenuId, {{0, u"Data", {{kExportCommand, u"Export", {}}, {kImportCommand, u"Import", {}}}}}};
const MenuTemplateEntry kMenuEntry(kMenu);

struct Spec {
    const char16_t* caption;
    DWORD style;
    CRect rect;
};
enum { kFlat, kRaised, kToggle, kToggleChecked, kAbove, kRight, kIconOnly, kDisabled, kFocused, kCount };
const Spec kButtons[kCount] = {
    {u"Flat", BS_PUSHBUTTON, CRect(10, 15, 150, 49)},        {u"Raised", BS_PUSHBUTTON, CRect(170, 15, 310, 49)},
    {u"Toggle", BS_CHECKBOX, CRect(10, 60, 150, 94)},        {u"Checked", BS_CHECKBOX, CRect(170, 60, 310, 94)},
    {u"Above", BS_PUSHBUTTON, CRect(10, 105, 100, 165)},     {u"Right", BS_PUSHBUTTON, CRect(110, 105, 230, 139)},
    {u"", BS_PUSHBUTTON, CRect(250, 105, 300, 139)},         {u"Disabled", BS_PUSHBUTTON, CRect(10, 185, 150, 219)},
    {u"Focused", BS_PUSHBUTTON, CRect(170, 185, 310, 219)},
};

class OwnerDrawButtonTest : public WidgetTest {
protected:
    void SetUp() override {
        const CxImage finger(SkinPath(u"Dialog\\CE_finger.png"), CXIMAGE_FORMAT_PNG);
        ASSERT_TRUE(finger.IsValid());
        iconFiles[0] = SaveTestImage(*Recoloured(finger, 1), u"icon_pressed.png");
        iconFiles[1] = SkinPath(u"Dialog\\CE_finger.png");
        iconFiles[2] = SaveTestImage(*Recoloured(finger, 2), u"icon_disabled.png");
        ASSERT_TRUE(page.CreatePage([this](CWidgetTestPage& p) {
            for (int i = 0; i < kCount; ++i) {
                const Spec& s = kButtons[i];
                ::CreateWindowExW(0, u"BUTTON", s.caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | s.style, s.rect.left,
                                  s.rect.top, s.rect.Width(), s.rect.Height(), p.m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kFirstId + i)), nullptr, nullptr);
                buttons[i].SubclassDlgItem(kFirstId + i, &p);
            }
        }));
        for (int i = 0; i < kCount; ++i) {
            GiveIcons(buttons[i]);
            if (i != kFlat) buttons[i].SetFlat(FALSE);
        }
        buttons[kAbove].SetAlign(COwnerDrawButton::kIconAbove);
        buttons[kRight].SetAlign(COwnerDrawButton::kIconRight);
        buttons[kToggleChecked].SetCheck(TRUE);
        buttons[kToggleChecked].SetColor(0, 0xE0C090);
        buttons[kDisabled].EnableWindow(FALSE);
        buttons[kFocused].SetFocus();
        session.Pump();
    }
    HICON Icon(int which) {
        return static_cast<HICON>(LoadImageW(nullptr, iconFiles[which], IMAGE_ICON, 0, 0, LR_LOADFROMFILE));
    }
    void GiveIcons(COwnerDrawButton& b) { b.SetIcons(Icon(0), 30, 20, Icon(1), 30, 20, Icon(2), 30, 20); }
    void Tap(int i) {
        const CPoint c = kButtons[i].rect.CenterPoint();
        session.Run("tap " + std::to_string(c.x) + " " + std::to_string(c.y));
    }
    // The icon-only button: its face, a raised (or, pressed, sunken) frame,
    // and icon `which` centred (one pixel down and right when pressed).
    ::testing::AssertionResult IconOnlyShows(int which, bool pressed) {
        const CRect& r = kButtons[kIconOnly].rect;
        const CxImage icon(iconFiles[which], CXIMAGE_FORMAT_PNG);
        return ScreenShows(r, [&](CDC& dc) {
            CRect face(0, 0, r.Width(), r.Height());
            dc.FillSolidRect(face, GetSysColor(COLOR_BTNFACE));
            const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT), dark = GetSysColor(COLOR_BTNSHADOW);
            dc.Draw3dRect(face, pressed ? dark : light, pressed ? light : dark);
            icon.Draw(dc, (r.Width() - 30) / 2 + (pressed ? 1 : 0), (r.Height() - 20) / 2 + (pressed ? 1 : 0));
        });
    }
    std::vector<Pixel> Pixels(int i) const {
        std::vector<Pixel> pixels;
        const CRect& r = kButtons[i].rect;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) pixels.push_back(ScreenSurface().At(x, y));
        return pixels;
    }
    size_t ShellStarts(uint64_t after) const { return JournalRead(kJournalShell, after).size(); }

    CString iconFiles[3];
    COwnerDrawButton buttons[kCount];
};

TEST_F(OwnerDrawButtonTest, IconFollowsTheStateAndIsCentredWithoutCaption) {
    EXPECT_TRUE(IconOnlyShows(1, false));
    buttons[kIconOnly].SetState(TRUE);
    session.Pump();
    EXPECT_TRUE(IconOnlyShows(0, true));
    buttons[kIconOnly].SetState(FALSE);
    buttons[kIconOnly].EnableWindow(FALSE);
    session.Pump();
    EXPECT_TRUE(IconOnlyShows(2, false));
}

TEST_F(OwnerDrawButtonTest, PressAndReleaseLeaveNoTraceOfThePressedLook) {
    const std::vector<Pixel> before = Pixels(kRaised);
    buttons[kRaised].SetState(TRUE);
    session.Pump();
    EXPECT_NE(Pixels(kRaised), before);
    buttons[kRaised].SetState(FALSE);
    session.Pump();
    EXPECT_EQ(Pixels(kRaised), before);
}

TEST_F(OwnerDrawButtonTest, ToggleTapOnlyFlipsTheCheckEvenWithMenuAndLink) {
    COwnerDrawButton& toggle = buttons[kToggle];
    EXPECT_EQ(toggle.SetPopupMenu(kMenuId, page.m_hWnd), 0u);
    toggle.SetLinkTarget(u"\\NandFlash\\zeta42\\readme.txt");
    const uint64_t mark = JournalLastSequence();
    Tap(kToggle);
    EXPECT_EQ(toggle.GetCheck(), TRUE);
    Tap(kToggle);
    EXPECT_EQ(toggle.GetCheck(), FALSE);
    EXPECT_EQ(ShellStarts(mark), 0u);
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kFirstId + kToggle, BN_CLICKED},
                                                                 {kFirstId + kToggle, BN_CLICKED}}));
    // A push button keeps no check.
    buttons[kRaised].SetCheck(TRUE);
    EXPECT_EQ(buttons[kRaised].GetCheck(), FALSE);
}

TEST_F(OwnerDrawButtonTest, PushTapOpensTheMenuRatherThanTheLink) {
    COwnerDrawButton& push = buttons[kRaised];
    EXPECT_EQ(push.SetPopupMenu(kMenuId, page.m_hWnd), 0u);
    push.SetLinkTarget(u"\\NandFlash\\zeta42\\readme.txt");
    const uint64_t mark = JournalLastSequence();
    // The menu opens under the button: its second item lies at about y = 49 + 1 + 22 + 11.
    session.RunWhenIdle({"tap 200 83"});
    Tap(kRaised);
    session.Pump();
    EXPECT_EQ(ShellStarts(mark), 0u);
    // The tap is reported when the menu has closed; the chosen command follows.
    EXPECT_EQ(page.commands, (std::vector<std::pair<UINT, UINT>>{{kFirstId + kRaised, BN_CLICKED}, {kImportCommand, 0u}}));
}

TEST_F(OwnerDrawButtonTest, PushTapOpensTheLinkWhenThereIsNoMenu) {
    COwnerDrawButton& push = buttons[kRaised];
    push.SetLinkTarget(u"\\NandFlash\\zeta42\\readme.txt");
    const uint64_t mark = JournalLastSequence();
    Tap(kRaised);
    const auto starts = JournalRead(kJournalShell, mark);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].text.find(u"open \\NandFlash\\zeta42\\readme.txt"), std::u16string::npos);
    push.SetLinkTarget(nullptr);
    Tap(kRaised);
    EXPECT_EQ(ShellStarts(mark), 1u);
}

TEST_F(OwnerDrawButtonTest, LinkTargetIsCutAt260Characters) {
    const std::u16string longTarget(300, u'x');
    buttons[kRaised].SetLinkTarget(longTarget.c_str());
    const uint64_t mark = JournalLastSequence();
    Tap(kRaised);
    const auto starts = JournalRead(kJournalShell, mark);
    ASSERT_EQ(starts.size(), 1u);
    EXPECT_NE(starts[0].text.find(std::u16string(260, u'x')), std::u16string::npos);
    EXPECT_EQ(starts[0].text.find(std::u16string(261, u'x')), std::u16string::npos);
}

TEST_F(OwnerDrawButtonTest, DisablingTheFocusedButtonHandsTheFocusOn) {
    buttons[kRaised].EnableWindow(FALSE);  // not focused: the focus stays
    EXPECT_EQ(CWnd::GetFocus(), &buttons[kFocused]);
    buttons[kRaised].EnableWindow(TRUE);
    buttons[kRight].SetFocus();
    buttons[kRight].EnableWindow(FALSE);
    EXPECT_EQ(CWnd::GetFocus(), &buttons[kIconOnly]);  // the next tab stop
}

TEST_F(OwnerDrawButtonTest, SettersAnswerAndStyleStaysOwnerDrawn) {
    COwnerDrawButton& b = buttons[kRaised];
    EXPECT_EQ(b.SetAlign(4), 4u);
    EXPECT_EQ(b.SetAlign(-1), 4u);
    EXPECT_EQ(b.SetColor(6, 0x123456), 3u);
    COLORREF color = 0;
    EXPECT_EQ(b.GetColor(6, &color), 3u);
    EXPECT_EQ(b.GetColor(1, &color), 0u);
    EXPECT_EQ(color, GetSysColor(COLOR_BTNTEXT));
    EXPECT_EQ(b.SetPopupMenu(9999, page.m_hWnd), 1u);
    EXPECT_EQ(b.SetPopupMenu(0, nullptr), 0u);
    EXPECT_FALSE(b.IsDefault());
    EXPECT_EQ(b.SendMessage(WM_GETDLGCODE) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
              static_cast<LRESULT>(DLGC_UNDEFPUSHBUTTON));
    b.SetButtonStyle(BS_DEFPUSHBUTTON);
    EXPECT_TRUE(b.IsDefault());
    EXPECT_EQ(b.GetStyle() & 0xF, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_EQ(b.SendMessage(WM_GETDLGCODE) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON),
              static_cast<LRESULT>(DLGC_DEFPUSHBUTTON));
    b.SetButtonStyle(BS_PUSHBUTTON);
    EXPECT_FALSE(b.IsDefault());
}

TEST_F(OwnerDrawButtonTest, IconsFromResourcesAndAFirstIconIsRequired) {
    RegisterImageResource(2580, u"\\NandFlash\\zeta42\\icon_pressed.png");
    COwnerDrawButton& b = buttons[kIconOnly];
    b.SetIconResources(2580, 30, 20);
    session.Pump();
    EXPECT_TRUE(IconOnlyShows(0, false));  // the only icon serves every state
    b.SetIcons(nullptr, 0, 0, Icon(1), 30, 20);
    session.Pump();
    EXPECT_TRUE(ScreenShows(kButtons[kIconOnly].rect, [](CDC& dc) {
        CRect face(0, 0, 50, 34);
        dc.FillSolidRect(face, GetSysColor(COLOR_BTNFACE));
        dc.Draw3dRect(face, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
    }));
}

TEST_F(OwnerDrawButtonTest, GoldenFlatRaisedToggledAndAligned) {
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_ownerdrawbutton_states"));
}

}  // namespace

}  // namespace ownerdrawbutton_test
