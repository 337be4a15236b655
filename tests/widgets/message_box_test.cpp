// The system's message box over a page: how it looks in both languages, what
// each key answers, what ShowMessage makes of it, and the page under it.
#include <chrono>
#include <cstring>
#include <future>
#include <thread>

#include "core/AppMessageBox.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/LDMessageBox.h"

namespace {

class MessageBoxTest : public WidgetTest {
protected:
    MessageBoxTest() {
        ScriptDriver::RegisterCommand("golden", [this](const std::vector<std::string>& args, std::string*) {
            goldenInLoop = MatchesGolden(ScreenSurface(), args.at(0));
            return true;
        });
        ScriptDriver::RegisterCommand("remember", [this](const std::vector<std::string>&, std::string*) {
            shown = CopyOfScreen();
            return true;
        });
    }
    ~MessageBoxTest() override {
        ScriptDriver::RegisterCommand("golden", nullptr);
        ScriptDriver::RegisterCommand("remember", nullptr);
    }
    void SetUp() override {
        ASSERT_TRUE(page.CreatePage(nullptr));
        session.Pump();
    }

    ::testing::AssertionResult goldenInLoop = ::testing::AssertionFailure() << "not checked";
    std::vector<Pixel> shown;
};

TEST_F(MessageBoxTest, OneButtonEnglish) {
    session.RunWhenIdle({"golden widgets_msgbox_one_en", "key ENTER", "quit"});
    EXPECT_EQ(ShowMessage(u"Saved successfully!", 0), 1);
    EXPECT_TRUE(goldenInLoop);
}

TEST_F(MessageBoxTest, TwoButtonsEnglishLongTextWraps) {
    session.RunWhenIdle({"golden widgets_msgbox_two_en", "key ENTER", "quit"});
    EXPECT_EQ(ShowMessage(u"Delete all attendance records from this terminal now?", 1), IDYES);
    EXPECT_TRUE(goldenInLoop);
}

TEST_F(MessageBoxTest, TwoButtonsChinese) {
    UseLanguage(u"Chinese");
    session.RunWhenIdle({"golden widgets_msgbox_two_cn", "key ESC", "quit"});
    EXPECT_EQ(ShowMessage(u"确定要删除这个用户的所有指纹吗？", 1), IDNO);
    EXPECT_TRUE(goldenInLoop);
}

TEST_F(MessageBoxTest, KeysAnswerOnKeyUpOnly) {
    CLDMessageBox box(TRUE);
    box.SetText(u"Continue?");
    // Key-downs and a tap change nothing; the Esc key-up refuses.
    session.RunWhenIdle({"keydown ENTER", "keydown ESC", "tap 160 120", "remember", "keyup ESC", "quit"});
    EXPECT_EQ(box.DoModal(), IDCANCEL);
    EXPECT_FALSE(shown.empty());
}

TEST_F(MessageBoxTest, EscClosesOneButtonBoxAndShowMessageStillGivesOne) {
    session.RunWhenIdle({"key ESC", "quit"});
    EXPECT_EQ(ShowMessage(u"Card not registered", 0), 1);
}

TEST_F(MessageBoxTest, ScreenUnderTheBoxComesBackExactly) {
    const std::vector<Pixel> before = CopyOfScreen();
    session.RunWhenIdle({"remember", "key ENTER", "quit"});
    ShowMessage(u"Saved successfully!", 0);
    session.Pump();
    EXPECT_NE(shown, before);  // the box was on the screen
    EXPECT_EQ(CopyOfScreen(), before);
}

// A key of the network adapter that cannot be opened: the DHCP switch says
// so in the standard box, an address write in the skinned one.
TEST_F(MessageBoxTest, AFailedDhcpWriteShowsTheStandardBoxAndAFailedAddressWriteTheSkinnedOne) {
    std::vector<bool> skinned;
    ScriptDriver::RegisterCommand("which", [&skinned](const std::vector<std::string>&, std::string*) {
        bool found = false;
        for (HWND top = ::GetTopWindow(nullptr); top != nullptr; top = ::GetWindow(top, GW_HWNDNEXT))
            found = found || (::IsWindowVisible(top) && dynamic_cast<CLDMessageBox*>(CWnd::FromHandlePermanent(top)));
        skinned.push_back(found);
        return true;
    });
    session.RunWhenIdle({"which", "answer ok", "which", "answer ok"});
    EXPECT_EQ(g_MachineConfig.SetDhcp(u"NoSuchAdapter", 1), 0);
    EXPECT_EQ(g_MachineConfig.SetIpAddress(u"NoSuchAdapter", u"10.0.0.7"), 0);
    ScriptDriver::RegisterCommand("which", nullptr);
    EXPECT_EQ(skinned, (std::vector<bool>{false, true}));
}

TEST_F(MessageBoxTest, ScriptedAnswersGivenBeforeTheBoxOpens) {
    session.Run("answer yes");
    EXPECT_EQ(ShowMessage(u"Restore factory settings?", 1), IDYES);
    session.Run("answer no");
    EXPECT_EQ(ShowMessage(u"Restore factory settings?", 1), IDNO);
    session.Run("answer ok");
    EXPECT_EQ(ShowMessage(u"Done", 0), 1);
}

TEST_F(MessageBoxTest, AnAnswerGivenWhileTheBoxShowsAnswersIt) {
    session.RunWhenIdle({"remember", "answer no", "quit"});
    EXPECT_EQ(ShowMessage(u"Restore factory settings?", 1), IDNO);
    EXPECT_FALSE(shown.empty());
}

TEST_F(MessageBoxTest, TheCornersShowThePageBehindNotAWindowClosedJustBefore) {
    const std::vector<Pixel> pageOnly = CopyOfScreen();
    // A white window covers the page and closes just before the box opens,
    // before the page has painted again.
    const HWND cover = CreateWindowExW(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, kScreenWidth,
                                       kScreenHeight, nullptr, nullptr, nullptr, nullptr);
    session.Pump();
    DestroyWindow(cover);
    CRect box;
    ScriptDriver::RegisterCommand("box", [&box](const std::vector<std::string>&, std::string*) {
        ::GetWindowRect(::GetActiveWindow(), box);
        return true;
    });
    session.RunWhenIdle({"box", "remember", "key ENTER", "quit"});
    ShowMessage(u"Saved successfully!", 0);
    ScriptDriver::RegisterCommand("box", nullptr);
    ASSERT_FALSE(box.IsRectEmpty());
    ASSERT_FALSE(shown.empty());
    // The frame image is transparent at its corners.
    for (const CPoint corner : {CPoint(box.left, box.top), CPoint(box.right - 1, box.top),
                                CPoint(box.left, box.bottom - 1), CPoint(box.right - 1, box.bottom - 1)}) {
        const size_t at = static_cast<size_t>(corner.y) * kScreenWidth + static_cast<size_t>(corner.x);
        EXPECT_EQ(shown[at], pageOnly[at]) << corner.x << "," << corner.y;
    }
}

TEST_F(MessageBoxTest, MissingLanguageEntryShowsStarredDefault) {
    // A language file without the section's keys: the look-up's own rule.
    g_LangDoc.ParseText(u"<?xml version=\"1.0\"?><LANG><CLDMessageBox/></LANG>");
    CString label;
    GetLangText(u"CLDMessageBox", u"LDmb1", u"Yes(OK)", label);
    EXPECT_EQ(label, CString(u"*Yes(OK)"));
}

TEST_F(MessageBoxTest, WorkerNoticeIsHandedOverAndTheWorkerGoesOn) {
    PrepareMessageRelay();
    const std::vector<Pixel> before = CopyOfScreen();
    // The UI thread is not pumping: a worker that waited would never return.
    std::async(std::launch::async, [] { return ShowMessage(u"Export finished", 0); }).get();
    session.RunWhenIdle({"remember", "key ENTER", "quit"});
    session.Pump();
    EXPECT_NE(shown, before);
    EXPECT_EQ(CopyOfScreen(), before);
}

TEST_F(MessageBoxTest, WorkerQuestionIsAnsweredOnTheUiThread) {
    PrepareMessageRelay();
    auto answer = std::async(std::launch::async, [] { return ShowMessage(u"Overwrite the file?", 1); });
    session.RunWhenIdle({"key ESC", "quit"});
    while (answer.wait_for(std::chrono::milliseconds(1)) != std::future_status::ready) session.Pump();
    EXPECT_EQ(answer.get(), IDNO);
}

// A page that asks a question while it is being hidden (leaving).
class CLeavingPage : public CWidgetTestPage {
public:
    int answer = 0;

protected:
    void OnShowWindow(BOOL show, UINT status) override {
        CWidgetTestPage::OnShowWindow(show, status);
        if (!show) answer = ShowMessage(u"Save the changes?", 1);
    }
};

TEST_F(MessageBoxTest, UsableFromInsideAPageLeaving) {
    CLeavingPage leaving;
    ASSERT_TRUE(leaving.CreatePage(nullptr));
    session.Pump();
    session.RunWhenIdle({"key ENTER", "quit"});
    leaving.ShowWindow(SW_HIDE);
    EXPECT_EQ(leaving.answer, IDYES);
    EXPECT_FALSE(leaving.IsWindowVisible());
    leaving.DestroyWindow();
}

class WrapTest : public WidgetTest {
protected:
    void SetUp() override {
        memory.CreateCompatibleDC(nullptr);
        MakeWidgetFont(font, {u"Microsoft JhengHei", 18, 0, 1, 6}, {u"tohamo", 16, 0, 1, 6});
        memory.SelectObject(&font);
    }
    CDC memory;
    CFont font;
    const CRect textRect{13, 2, 167, 60};
};

TEST_F(WrapTest, ShortTextIsLeftAlone) {
    CRect rect;
    bool wrapped = true;
    EXPECT_EQ(CLDMessageBox::WrapText(&memory, u"OK", textRect, &rect, &wrapped), CString(u"OK"));
    EXPECT_FALSE(wrapped);
}

TEST_F(WrapTest, WordsBreakAtSpacesAndBlockIsCentred) {
    CRect rect;
    bool wrapped = false;
    const CString original(u"Please press your finger again now");
    const CString text = CLDMessageBox::WrapText(&memory, original, textRect, &rect, &wrapped);
    EXPECT_TRUE(wrapped);
    CString joined = text;
    joined.Replace(u"\r\n", u" ");
    EXPECT_EQ(joined, original) << "every break replaces a space";
    std::vector<CString> lines;
    for (int start = 0;;) {
        const int end = text.Find(u"\r\n", start);
        lines.push_back(text.Mid(start, end < 0 ? text.GetLength() - start : end - start));
        if (end < 0) break;
        start = end + 2;
    }
    ASSERT_GE(lines.size(), 2u);
    const auto width = [&](const CString& line) {
        CRect measured(0, 0, textRect.Width(), 0);
        memory.DrawText(line, measured, DT_CALCRECT | DT_CENTER);
        return measured.Width();
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_LE(width(lines[i]), textRect.Width()) << "line " << i;
        if (i + 1 == lines.size()) break;
        // Each line is as full as it can be: the next word would not fit.
        const CString next = lines[i + 1];
        const int space = next.Find(u' ');
        EXPECT_GT(width(lines[i] + u" " + (space < 0 ? next : next.Left(space))), textRect.Width()) << "line " << i;
    }
    CRect measured = textRect;
    memory.DrawText(text, measured, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(rect.top, textRect.top + (textRect.Height() - measured.Height()) / 2) << "centred vertically";
    EXPECT_EQ(rect.Height(), measured.Height());
}

TEST_F(WrapTest, LongWordIsCutAndNarrowBoxEnds) {
    CRect rect;
    bool wrapped = false;
    const CString text = CLDMessageBox::WrapText(&memory, u"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ", textRect, &rect, &wrapped);
    EXPECT_TRUE(wrapped);
    CString joined = text;
    joined.Replace(u"\r\n", u"");
    EXPECT_EQ(joined, CString(u"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJ"));
    // A box narrower than one character: each character on its own line.
    const CString narrow = CLDMessageBox::WrapText(&memory, u"WWW", CRect(0, 0, 2, 40), &rect, &wrapped);
    EXPECT_EQ(narrow, CString(u"W\r\nW\r\nW"));
}

}  // namespace
