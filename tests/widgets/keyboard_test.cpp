// The key edit and the on-screen keyboard on a page owned by a main window
// with its bottom task bar: what the keys type, what the task bar says, and
// how the keyboard looks in its three shift states.
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "main/BottomTaskBar.h"
#include "tests/widgets/screen_compare.h"
#include "tests/widgets/widget_page.h"
#include "widgets/FontStatic.h"
#include "widgets/InputKeys.h"
#include "widgets/JHKeyEdit.h"

namespace {

using Hint = std::pair<CString, int>;

// The main window's part in the hint traffic: it shows each hint on its
// bottom task bar and remembers what it was sent.
class CHintMainWindow : public CWnd {
public:
    BOOL Make() {
        if (!CreateEx(0, u"STATIC", u"", WS_POPUP | WS_VISIBLE, 0, 0, 320, 240, nullptr, nullptr)) return FALSE;
        return taskBar.Create(this, SkinPath(u""));
    }
    std::vector<Hint> hints;
    CBottomTaskBar taskBar;

protected:
    // The pages cover the rest of the screen.
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnPaint() override { CPaintDC dc(this); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message != WM_TASKBARHINT) return CWnd::WindowProc(message, wParam, lParam);
        const CString text = *reinterpret_cast<const CString*>(wParam);
        hints.emplace_back(text, static_cast<int>(lParam));
        taskBar.SetHint(text, static_cast<int>(lParam));
        taskBar.Invalidate();
        taskBar.UpdateWindow();
        return 1;
    }
};

// Enter and Esc on the page belong to its fields.
class CKeyEditPage : public CWidgetTestPage {
protected:
    void OnOK() override {}
    void OnCancel() override {}
};

constexpr int kLabelId = 1101;
constexpr int kEditId = 1102;
constexpr int kOtherEditId = 1103;

class KeyboardTest : public WidgetTest {
protected:
    KeyboardTest() {
        ScriptDriver::RegisterCommand("golden", [this](const std::vector<std::string>& args, std::string*) {
            goldens.push_back(MatchesGolden(ScreenSurface(), args.at(0)));
            return true;
        });
    }
    ~KeyboardTest() override {
        ScriptDriver::RegisterCommand("golden", nullptr);
        if (keyPage.m_hWnd != nullptr) keyPage.DestroyWindow();
        if (mainWindow.m_hWnd != nullptr) mainWindow.DestroyWindow();
        app.m_pMainWnd = nullptr;
    }
    void SetUp() override {
        ASSERT_TRUE(mainWindow.Make());
        app.m_pMainWnd = &mainWindow;
        ASSERT_TRUE(keyPage.CreatePage([this](CWidgetTestPage& p) {
            p.AddWidget(label, kLabelId, 16, 40, 70, 20, u"Name");
            const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL;
            edit.Create(style, CRect(90, 40, 290, 60), &p, kEditId);
            other.Create(style, CRect(90, 80, 290, 100), &p, kOtherEditId);
        }));
        keyPage.SetWindowPos(nullptr, 0, 0, 320, 240 - mainWindow.taskBar.Height(), SWP_NOZORDER);
        other.SetFocus();
        SendTaskBarHint(u"Page", 1);
        edit.SetWindowText(u"Alice");
        edit.SetFocus();
        edit.SetSel(5, -1);
        session.Pump();
        mainWindow.hints.clear();
    }
    CString EditText() const {
        CString text;
        edit.GetWindowText(text);
        return text;
    }
    // Opens the keyboard with '#' and runs `keys` in it; the last should close it.
    void TypeOnKeyboard(std::vector<std::string> keys) {
        keys.push_back("quit");  // a keyboard that failed to close ends the test
        session.RunWhenIdle(std::move(keys));
        session.Run("key HASH");
    }

    CWinApp app;
    CHintMainWindow mainWindow;
    CKeyEditPage keyPage;
    CFontStatic label;
    CJHKeyEdit edit;
    CEdit other;
    std::vector<::testing::AssertionResult> goldens;
};

TEST_F(KeyboardTest, KeyEditWithItsHintOnTheTaskBar) {
    EXPECT_EQ(mainWindow.taskBar.Text(), CString(u"#/Keyboard"));
    EXPECT_TRUE(MatchesGolden(ScreenSurface(), "widgets_keyedit_hint"));
}

TEST_F(KeyboardTest, FocusShowsTheHintAndLeavingBringsThePreviousBack) {
    other.SetFocus();
    edit.SetFocus();
    other.SetFocus();
    session.Pump();
    const std::vector<Hint> expected{{u"", -1}, {u"#/Keyboard", 1}, {u"", -1}};
    EXPECT_EQ(mainWindow.hints, expected);
    EXPECT_EQ(mainWindow.taskBar.Text(), CString(u"Page"));
}

TEST_F(KeyboardTest, HintSwitchedOffSendsNothing) {
    edit.EnableKeyHint(false);
    other.SetFocus();
    edit.SetFocus();
    EXPECT_TRUE(mainWindow.hints.empty());
}

TEST_F(KeyboardTest, KeyboardInItsThreeShiftStates) {
    TypeOnKeyboard({
        // Shift once: the capital picture, the highlight on Shift.
        "key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "key ENTER",
        "golden widgets_keyboard_shift_once",
        // A capital, then small letters and a digit typed directly.
        "key LEFT", "key LEFT", "key LEFT", "key LEFT", "key LEFT", "key ENTER",
        "key RIGHT", "key ENTER", "key 7", "key DOWN", "key DOWN",
        "golden widgets_keyboard_lower",
        // Caps lock: the mark on the Shift key stays while typing.
        "key UP", "key UP", "key RIGHT", "key RIGHT", "key RIGHT", "key RIGHT", "key ENTER", "key ENTER",
        "key DOWN", "key LEFT", "key ENTER", "key LEFT", "key ENTER",
        "golden widgets_keyboard_caps_lock",
        "key MENU",
    });
    ASSERT_EQ(goldens.size(), 3u);
    for (const auto& golden : goldens) EXPECT_TRUE(golden);
    EXPECT_EQ(EditText(), CString(u"AliceAb7JI"));
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
}

// `count` presses of the key.
std::vector<std::string> Press(const std::string& key, int count) { return std::vector<std::string>(count, "key " + key); }

std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

TEST_F(KeyboardTest, ShiftOnceMakesOneCapitalShiftTwiceLocks) {
    // From A: Right five times is Shift, Left five times is A again.
    TypeOnKeyboard(Join({Press("RIGHT", 5), Press("ENTER", 1), Press("LEFT", 5), Press("ENTER", 1), Press("RIGHT", 1),
                         Press("ENTER", 1), Press("RIGHT", 4), Press("ENTER", 2), Press("LEFT", 5), Press("ENTER", 1),
                         Press("RIGHT", 1), Press("ENTER", 1), Press("MENU", 1)}));
    EXPECT_EQ(EditText(), CString(u"AliceAbAB"));
}

TEST_F(KeyboardTest, EscLeavesTheFieldAndTheScreenAsTheyWere) {
    const std::vector<Pixel> before = CopyOfScreen();
    TypeOnKeyboard({"key ENTER", "key 5", "key RIGHT", "key ESC"});
    session.Pump();
    EXPECT_EQ(EditText(), CString(u"Alice"));
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
    EXPECT_EQ(CopyOfScreen(), before);
}

TEST_F(KeyboardTest, EnterShowsThePressAtOnceAndTypesOnRelease) {
    std::vector<std::vector<Pixel>> screens;
    ScriptDriver::RegisterCommand("snap", [&](const std::vector<std::string>&, std::string*) {
        screens.push_back(CopyOfScreen());
        return true;
    });
    TypeOnKeyboard({"snap", "keydown ENTER", "snap", "keyup ENTER", "snap", "key MENU"});
    ScriptDriver::RegisterCommand("snap", nullptr);
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_NE(screens[1], screens[0]) << "the pressed highlight";
    EXPECT_NE(screens[2], screens[1]);
    EXPECT_EQ(EditText(), CString(u"Alicea"));
}

// On the keyboard a digit is typed when its key comes up: one still held
// when Menu closes the keyboard is not in the text handed back.
TEST_F(KeyboardTest, ADigitIsTypedOnItsRelease) {
    TypeOnKeyboard({"key 1", "keydown 2", "key MENU"});
    EXPECT_EQ(EditText(), CString(u"Alice1"));
    session.Run("keyup 2");  // reaches the field, which types nothing on a release
    EXPECT_EQ(EditText(), CString(u"Alice1"));
}

TEST_F(KeyboardTest, BackspaceRemovesTheLastCharacterAndStopsAtEmpty) {
    TypeOnKeyboard({"key 1", "key 2", "key BACK", "key BACK", "key BACK", "key 3", "key ENTER", "key MENU"});
    EXPECT_EQ(EditText(), CString(u"Alice3a"));
}

TEST_F(KeyboardTest, OpeningSendsNoRestoreForTheKeyEditAndClosingGivesItsHintBack) {
    other.SetFocus();
    edit.SetFocus();
    session.Pump();
    mainWindow.hints.clear();
    std::vector<Hint> whileOpen;
    ScriptDriver::RegisterCommand("hints", [&](const std::vector<std::string>&, std::string*) {
        whileOpen = mainWindow.hints;
        return true;
    });
    TypeOnKeyboard({"hints", "key MENU"});
    ScriptDriver::RegisterCommand("hints", nullptr);
    const std::vector<Hint> opened{{u"Menu/Save", 1}};
    EXPECT_EQ(whileOpen, opened);
    EXPECT_EQ(mainWindow.taskBar.Text(), CString(u"#/Keyboard"));
    EXPECT_EQ(GetFocus(), edit.m_hWnd);
}

// The full stop comes with the key's press, as a typed character would;
// the release adds nothing.
TEST_F(KeyboardTest, StarTypesAFullStopAtTheCaretWhenItGoesDown) {
    edit.SetSel(2, 2);
    session.Run("keydown STAR");
    EXPECT_EQ(EditText(), CString(u"Al.ice"));
    session.Run("keyup STAR");
    EXPECT_EQ(EditText(), CString(u"Al.ice"));
}

TEST_F(KeyboardTest, HashDownAloneOpensNothing) {
    const std::vector<Pixel> before = CopyOfScreen();
    session.Run("keydown HASH");
    EXPECT_EQ(CopyOfScreen(), before);
    EXPECT_TRUE(mainWindow.hints.empty());
    EXPECT_EQ(EditText(), CString(u"Alice"));
}

// Any message with the '#' key's code belongs to the field: a '#'
// character is never typed, and only the key's release opens the keyboard.
TEST_F(KeyboardTest, AHashCharacterIsSwallowedAndOpensNothing) {
    edit.SetSel(5, 5);
    edit.PostMessage(WM_CHAR, u'#', 0);
    session.Pump();
    EXPECT_EQ(EditText(), CString(u"Alice"));
    EXPECT_TRUE(mainWindow.hints.empty()) << "no keyboard hint";
}

TEST_F(KeyboardTest, EnterTellsThePageWithTheControlIdOnItsRelease) {
    session.Run("keydown ENTER");
    EXPECT_TRUE(keyPage.registered.empty());
    session.Run("keyup ENTER");
    ASSERT_EQ(keyPage.registered.size(), 1u);
    EXPECT_EQ(keyPage.registered[0], std::make_pair(EditEnterMessage(), static_cast<WPARAM>(kEditId)));
    EXPECT_EQ(EditText(), CString(u"Alice"));
}

// Every cell of the seven by five keys, each row written as pairs of its
// cells' upper- and lower-case characters: the Shift cell holds '&' / '*'
// (never typed), the cell beside it none.
TEST(InputKeys, CharactersOfTheCells) {
    const char16_t* const rows[kInputKeyRows] = {
        u"AaBbCcDdEe&*",
        u"FfGgHhIiJj  ,,",
        u"KkLlMmNnOo..??",
        u"PpQqRrSsTt//::",
        u"UuVvWwXxYyZz--",
    };
    for (int row = 0; row < kInputKeyRows; ++row) {
        const std::u16string keys = rows[row];
        for (int column = 0; column < kInputKeyColumns; ++column) {
            const size_t at = static_cast<size_t>(column) * 2;
            const char16_t upper = at < keys.size() ? keys[at] : kNoInputKey;
            const char16_t lower = at < keys.size() ? keys[at + 1] : kNoInputKey;
            EXPECT_EQ(InputKeyCharacter(column, row, true), upper) << "cell (" << column << "," << row << ")";
            EXPECT_EQ(InputKeyCharacter(column, row, false), lower) << "cell (" << column << "," << row << ")";
        }
    }
    EXPECT_EQ(InputKeyCharacter(7, 0, false), kNoInputKey);
    EXPECT_EQ(InputKeyCharacter(0, 5, true), kNoInputKey);
}

TEST(InputKeys, HighlightWrapsAroundTheKeyboard) {
    struct Move {
        int column, row;
        void (InputCursor::*step)();
        int toColumn, toRow;
    };
    const Move moves[] = {
        {3, 2, &InputCursor::Right, 4, 2}, {5, 0, &InputCursor::Right, 0, 1},  // Shift ends the top row
        {6, 4, &InputCursor::Right, 0, 0}, {3, 2, &InputCursor::Left, 2, 2},
        {0, 0, &InputCursor::Left, 6, 4},  {0, 2, &InputCursor::Left, 6, 4},   // from any row
        {2, 0, &InputCursor::Up, 2, 4},    {2, 4, &InputCursor::Down, 2, 0},
        {6, 4, &InputCursor::Down, 5, 0},  {6, 1, &InputCursor::Up, 5, 0},     // never on Shift's right half
    };
    for (const Move& move : moves) {
        InputCursor cursor{move.column, move.row};
        (cursor.*move.step)();
        EXPECT_EQ(std::make_pair(cursor.column, cursor.row), std::make_pair(move.toColumn, move.toRow))
            << "from (" << move.column << "," << move.row << ")";
    }
}

TEST(InputKeys, ShiftCyclesThroughItsThreeStates) {
    EXPECT_EQ(NextShiftState(kShiftLower), kShiftOnce);
    EXPECT_EQ(NextShiftState(kShiftOnce), kShiftLock);
    EXPECT_EQ(NextShiftState(kShiftLock), kShiftLower);
}

}  // namespace
