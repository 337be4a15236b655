// The image-built message box: its look over the shaded screen, its keys,
// taps and automatic close (in virtual time), and the layout of its text.
#include "tests/widgets/widget_page.h"
#include "widgets/JHMessageBox.h"

namespace {

constexpr int kScreenWidth = 320;
constexpr int kScreenHeight = 240;

// A page that counts the box's No notices.
class CNoticePage : public CWidgetTestPage {
public:
    int noNotices = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == CJHMessageBox::kNoChosenMessage) {
            ++noNotices;
            return 0;
        }
        return CWidgetTestPage::WindowProc(message, wParam, lParam);
    }
};

class JHMessageBoxTest : public WidgetTest {
protected:
    JHMessageBoxTest() {
        // "step" in a script runs the next of `steps` inside the box's loop.
        ScriptDriver::RegisterCommand("step", [this](const std::vector<std::string>&, std::string*) {
            if (m_nextStep < steps.size()) steps[m_nextStep++]();
            return true;
        });
        font.CreateFont(16, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 6, 0x20, u"tohamo");
    }
    ~JHMessageBoxTest() override {
        ScriptDriver::RegisterCommand("step", nullptr);
        if (notices.m_hWnd != nullptr) notices.DestroyWindow();
    }
    void SetUp() override {
        ASSERT_TRUE(notices.CreatePage(nullptr));
        session.Pump();
    }
    void Prepare(CJHMessageBox& box, const CString& text, UINT style, UINT autoClose = 0) {
        box.SetTextFont(&font);
        box.SetStyle(style);
        box.SetAutoClose(autoClose);
        box.m_text = text;
        box.CaptureScreen();
        box.CalcLayout();
    }
    using ScriptFor = std::function<std::vector<std::string>(const CJHMessageBox&)>;
    // Runs a box over the page with the script made for it and gives its result.
    int Answer(const CString& text, UINT style, const ScriptFor& script, UINT autoClose = 0) {
        CJHMessageBox box(&notices);
        Prepare(box, text, style, autoClose);
        shown = &box;
        session.RunWhenIdle(script(box));
        EXPECT_EQ(box.DoModal(), IDOK);
        shown = nullptr;
        return box.m_result;
    }
    int Answer(const CString& text, UINT style, std::vector<std::string> script, UINT autoClose = 0) {
        return Answer(text, style, [&](const CJHMessageBox&) { return script; }, autoClose);
    }
    void TearDown() override { EXPECT_EQ(m_nextStep, steps.size()) << "steps the box did not stay open for"; }
    // Steps the test lets go unrun (the box closed before them).
    size_t DropUnrunSteps() {
        const size_t unrun = steps.size() - m_nextStep;
        steps.resize(m_nextStep);
        return unrun;
    }
    // Where a button will be: from the box's bottom right corner, centred.
    static std::string TapButton(const CJHMessageBox& box, int fromRight) {
        const CRect& rect = box.BoxRect();
        const int x0 = (kScreenWidth - rect.Width()) / 2, y0 = (kScreenHeight - rect.Height()) / 2;
        return "tap " + std::to_string(x0 + rect.Width() - fromRight + 30) + " " +
               std::to_string(y0 + rect.Height() - 55 + 13);
    }
    // The steps that look at the box while it is open.
    void ExpectOpen() {
        steps.push_back([this] { EXPECT_TRUE(shown != nullptr && shown->IsWindowVisible()); });
    }
    void ExpectGolden(const std::string& name) {
        steps.push_back([this, name] { EXPECT_TRUE(MatchesGolden(ScreenSurface(), name)); });
    }
    CRect ButtonOnScreen(int id) const {
        CRect rect;
        shown->GetDlgItem(id)->GetWindowRect(rect);
        return rect;
    }

    CNoticePage notices;
    CFont font;
    std::vector<std::function<void()>> steps;
    CJHMessageBox* shown = nullptr;

private:
    size_t m_nextStep = 0;
};

TEST_F(JHMessageBoxTest, YesNoBoxOverShadedScreenAndEscChoosesNoAndTellsTheParent) {
    ExpectGolden("widgets_jhmsgbox_yesno");
    const int result = Answer(u"Delete all attendance records from this terminal now?", CJHMessageBox::kYesNo,
                              {"step", "key ESC", "quit"});
    EXPECT_EQ(result, CJHMessageBox::kNoChosen);
    EXPECT_EQ(notices.noNotices, 1);
}

TEST_F(JHMessageBoxTest, TheShadeIsOverThePageBehindNotAWindowClosedJustBefore) {
    Pixel overPage = 0, afterCover = 1;
    steps.push_back([&] { overPage = ScreenSurface().At(2, 2); });
    EXPECT_EQ(Answer(u"Continue?", 0, {"step", "answer ok", "quit"}), CJHMessageBox::kYesChosen);
    // A white window closes just before the box reads the screen, before
    // the page has painted again.
    const HWND cover = CreateWindowExW(0, WC_STATIC, u"", WS_POPUP | WS_VISIBLE | SS_WHITERECT, 0, 0, kScreenWidth,
                                       kScreenHeight, nullptr, nullptr, nullptr, nullptr);
    session.Pump();
    DestroyWindow(cover);
    steps.push_back([&] { afterCover = ScreenSurface().At(2, 2); });
    EXPECT_EQ(Answer(u"Continue?", 0, {"step", "answer ok", "quit"}), CJHMessageBox::kYesChosen);
    EXPECT_EQ(afterCover, overPage);
}

TEST_F(JHMessageBoxTest, AScriptedAnswerGivenBeforeTheBoxOpensIsTaken) {
    session.Run("answer no");
    EXPECT_EQ(Answer(u"Save the changes?", CJHMessageBox::kYesNo, {"quit"}), CJHMessageBox::kNoChosen);
    EXPECT_EQ(notices.noNotices, 1);
}

TEST_F(JHMessageBoxTest, OkBoxWithCharacterWrappedChineseText) {
    UseLanguage(u"Chinese");
    ExpectGolden("widgets_jhmsgbox_ok_cn");
    const int result = Answer(u"指纹模板已经全部导出到优盘，请在拔出优盘之前等待指示灯停止闪烁。", 0,
                              {"step", "key ENTER", "quit"});
    EXPECT_EQ(result, CJHMessageBox::kYesChosen);
    EXPECT_EQ(notices.noNotices, 0);
}

TEST_F(JHMessageBoxTest, ArrowsMoveTheFrameAndEnterChoosesTheFramedButton) {
    ExpectGolden("widgets_jhmsgbox_no_framed");
    EXPECT_EQ(Answer(u"Save the changes?", CJHMessageBox::kYesNo, {"key RIGHT", "step", "key ENTER", "quit"}),
              CJHMessageBox::kNoChosen);
    EXPECT_EQ(notices.noNotices, 1);
    // Two moves bring the frame back to Yes.
    EXPECT_EQ(Answer(u"Save the changes?", CJHMessageBox::kYesNo, {"key UP", "key DOWN", "key ENTER", "quit"}),
              CJHMessageBox::kYesChosen);
    EXPECT_EQ(notices.noNotices, 1);
}

TEST_F(JHMessageBoxTest, KeyReleasedWithoutItsPressIsNoAnswer) {
    ExpectOpen();
    EXPECT_EQ(Answer(u"Continue?", CJHMessageBox::kYesNo,
                     {"keyup ENTER", "keyup ESC", "keydown ESC", "keyup ENTER", "step", "key ENTER", "quit"}),
              CJHMessageBox::kYesChosen);
}

TEST_F(JHMessageBoxTest, TheLastKeyPressedStaysTheOneWhoseReleasesAct) {
    // A release does not forget the key: a second release of the arrow
    // moves the frame back onto Yes.
    EXPECT_EQ(Answer(u"Save the changes?", CJHMessageBox::kYesNo,
                     {"keydown RIGHT", "keyup RIGHT", "keyup RIGHT", "key ENTER", "quit"}),
              CJHMessageBox::kYesChosen);
    EXPECT_EQ(notices.noNotices, 0);
}

TEST_F(JHMessageBoxTest, KeysBelongToTheBoxWhereverTheFocusIs) {
    // A touch that slid off a button leaves the focus on it.
    steps.push_back([this] { shown->GetDlgItem(CJHMessageBox::kYesId)->SetFocus(); });
    EXPECT_EQ(Answer(u"Save the changes?", CJHMessageBox::kYesNo, {"step", "key RIGHT", "key ENTER", "quit"}),
              CJHMessageBox::kNoChosen);
    steps.push_back([this] { shown->GetDlgItem(CJHMessageBox::kYesId)->SetFocus(); });
    EXPECT_EQ(Answer(u"Save the changes?", CJHMessageBox::kYesNo, {"step", "key ESC", "quit"}),
              CJHMessageBox::kNoChosen);
}

TEST_F(JHMessageBoxTest, ArrowsInTheOkBoxLeaveTheFrameOnOk) {
    // The hidden No button must not become Enter's answer.
    EXPECT_EQ(Answer(u"Done", 0, {"key RIGHT", "key ENTER", "quit"}), CJHMessageBox::kYesChosen);
    EXPECT_EQ(notices.noNotices, 0);
}

TEST_F(JHMessageBoxTest, TapsOnTheButtonsChoose) {
    const auto tap = [](int fromRight) {
        return [fromRight](const CJHMessageBox& box) { return std::vector<std::string>{TapButton(box, fromRight), "quit"}; };
    };
    EXPECT_EQ(Answer(u"Overwrite the file?", CJHMessageBox::kYesNo, tap(100)), CJHMessageBox::kNoChosen);
    EXPECT_EQ(notices.noNotices, 1);
    EXPECT_EQ(Answer(u"Overwrite the file?", CJHMessageBox::kYesNo, tap(200)), CJHMessageBox::kYesChosen);
    EXPECT_EQ(notices.noNotices, 1);
}

TEST_F(JHMessageBoxTest, PressedButtonKeepsTheUpPicture) {
    steps.push_back([this] {
        CWnd* yes = shown->GetDlgItem(CJHMessageBox::kYesId);
        const CRect rect = ButtonOnScreen(CJHMessageBox::kYesId);
        const CPoint probe(rect.left + rect.Width() / 2, rect.top + 3);
        const Pixel idle = ScreenSurface().At(probe.x, probe.y);
        static_cast<CButton*>(yes)->SetState(TRUE);
        session.Pump();
        // The probe lies where the up and down pictures differ.
        EXPECT_EQ(ScreenSurface().At(probe.x, probe.y), idle);
        static_cast<CButton*>(yes)->SetState(FALSE);
        session.Pump();
        EXPECT_EQ(ScreenSurface().At(probe.x, probe.y), idle);
    });
    EXPECT_EQ(Answer(u"Continue?", CJHMessageBox::kYesNo, {"step", "key ENTER", "quit"}), CJHMessageBox::kYesChosen);
}

TEST_F(JHMessageBoxTest, ClosesByItselfAfterItsSeconds) {
    steps.push_back([this] { EXPECT_TRUE(shown->IsWindowVisible()); });
    // The check after 2.9 s finds it open; by 3.1 s it has closed.
    EXPECT_EQ(Answer(u"Door open", 0, {"wait 2900", "step", "wait 200", "key ENTER", "quit"}, 3),
              CJHMessageBox::kClosedByTime);
}

TEST_F(JHMessageBoxTest, RepaintingDoesNotHoldTheCloseOff) {
    std::vector<std::string> script;
    for (int i = 0; i < 8; ++i) {
        steps.push_back([this] {
            if (shown != nullptr) shown->Invalidate();
        });
        script.push_back("step");
        script.push_back("wait 400");
    }
    script.push_back("key ENTER");
    script.push_back("quit");
    // Eight repaints 400 ms apart: closed after 2 s all the same.
    EXPECT_EQ(Answer(u"Door open", 0, script, 2), CJHMessageBox::kClosedByTime);
    EXPECT_GT(DropUnrunSteps(), 0u);  // closed before the repaints ended
}

TEST_F(JHMessageBoxTest, NoAutoCloseWithoutSeconds) {
    ExpectOpen();
    EXPECT_EQ(Answer(u"Door open", 0, {"wait 10000", "step", "key ESC", "quit"}, 0), CJHMessageBox::kNoChosen);
}

TEST_F(JHMessageBoxTest, WithoutTheScreenCopyNothingIsDrawnOrMoved) {
    CJHMessageBox box(&notices);
    box.SetTextFont(&font);
    box.m_text = u"Continue?";
    box.CalcLayout();
    const Pixel before = ScreenSurface().At(160, 120);
    steps.push_back([&] {
        CRect window, yes;
        box.GetWindowRect(window);
        box.GetDlgItem(CJHMessageBox::kYesId)->GetWindowRect(yes);
        EXPECT_EQ(window.Size(), CSize(163, 59));
        EXPECT_EQ(yes.TopLeft() - window.TopLeft(), CPoint(7, 7));
        EXPECT_EQ(ScreenSurface().At(160, 120), before);
    });
    session.RunWhenIdle({"step", "key ESC", "quit"});
    box.DoModal();
    EXPECT_EQ(box.m_result, CJHMessageBox::kNoChosen);
}

class JHMessageBoxLayoutTest : public WidgetTest {
protected:
    void SetUp() override {
        font.CreateFont(16, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 6, 0x20, u"tohamo");
        memory.CreateCompatibleDC(nullptr);
        memory.SelectObject(&font);
    }
    void Layout(const CString& text) {
        box.SetTextFont(&font);
        box.m_text = text;
        box.CalcLayout();
    }
    int Width(const CString& line) {
        CRect rect(0, 0, 0, 0);
        memory.DrawText(line, rect, DT_CALCRECT);
        return rect.Width();
    }

    CFont font;
    CDC memory;
    CJHMessageBox box;
};

TEST_F(JHMessageBoxLayoutTest, EmptyTextGivesOneSlice) {
    Layout(u"");
    EXPECT_EQ(box.MiddleCount(), 1);
    EXPECT_EQ(box.TextRect(), CRect(0, 0, 266, 5));
    EXPECT_EQ(box.BoxRect(), CRect(0, 0, 299, 110));
}

TEST_F(JHMessageBoxLayoutTest, ShortTextKeepsItsMeasuredHeight) {
    Layout(u"Saved");
    const int line = box.TextRect().Height();
    EXPECT_EQ(box.MiddleCount() * 5, line);
    EXPECT_LT(line, 40);  // one line, not the 266 of the rectangle it was given
    EXPECT_EQ(box.BoxRect().Height(), line + 105);
    EXPECT_LE(box.BoxRect().Height(), 240);
}

TEST_F(JHMessageBoxLayoutTest, FewSpacesBreakByCharactersManySpacesByWords) {
    const CString few = u"Fingerprint templates exported to the USB disk";  // 6 spaces
    Layout(few);
    EXPECT_EQ(box.m_text, few);  // left to word breaking
    EXPECT_GT(box.TextRect().Height(), 20);
    const CString gapless = u"ABCDEFGHIJKLMNOPQRSTUVWXYZABCDEFGHIJKLMNOPQRSTUVWXYZ ABC";
    Layout(gapless);
    EXPECT_NE(box.m_text.Find(u"\r\n"), -1);
    CString joined = box.m_text;
    joined.Replace(u"\r\n", u"");
    EXPECT_EQ(joined, gapless);
}

TEST_F(JHMessageBoxLayoutTest, TallTextIsCutAt350WhileTheSlicesFollowItAll) {
    CString tall;
    for (int i = 0; i < 40; ++i) tall += u"line of text\r\n";  // word-broken branch: many spaces
    Layout(tall);
    EXPECT_EQ(box.TextRect().Height(), 350);
    EXPECT_GT(box.MiddleCount() * 5, 350);
    EXPECT_EQ(box.BoxRect().Height(), 455);
}

TEST_F(JHMessageBoxLayoutTest, CharacterWrapBreaksBeforeTheLastCharacterThatFitted) {
    const CString text = u"指纹模板已经全部导出到优盘请在拔出优盘之前等待指示灯停止闪烁然后再取下";
    CRect measured;
    const CString wrapped = CJHMessageBox::WrapByCharacters(&memory, text, CRect(0, 0, 266, 266), &measured);
    std::vector<CString> lines;
    int start = 0;
    for (int at = wrapped.Find(u"\r\n"); at >= 0; at = wrapped.Find(u"\r\n", start)) {
        lines.push_back(wrapped.Mid(start, at - start));
        start = at + 2;
    }
    lines.push_back(wrapped.Mid(start));
    ASSERT_GE(lines.size(), 2u);
    for (size_t i = 0; i + 1 < lines.size(); ++i) {
        EXPECT_LE(Width(lines[i]), 266);
        EXPECT_LE(Width(lines[i] + lines[i + 1].Left(1)), 266);
        EXPECT_GT(Width(lines[i] + lines[i + 1].Left(2)), 266);
    }
    EXPECT_EQ(measured.top, 0);
    EXPECT_GT(measured.Height(), 0);
    EXPECT_LT(measured.Height(), 266);  // the measure, not the rectangle given
}

TEST_F(JHMessageBoxLayoutTest, CharacterWrapEndsWhenACharacterIsWiderThanTheLine) {
    CRect measured;
    EXPECT_EQ(CJHMessageBox::WrapByCharacters(&memory, u"WWW", CRect(0, 0, 2, 40), &measured),
              CString(u"W\r\nW\r\nW"));
}

}  // namespace
