// Input: focus messages, touch routing, keys, the keyboard hook chain, the
// dialog keys, and what long work on the thread drops.
#include <gtest/gtest.h>

#include <thread>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/ui/dialog.h"
#include "platform/ui/display.h"
#include "platform/ui/gdi.h"
#include "platform/ui/input.h"
#include "platform/ui/longwork.h"
#include "platform/ui/msgbox.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"
#include "tests/ui/release_box.h"

namespace {

using InputTest = RecordingTest;

TEST_F(InputTest, FocusMovesWithKillFocusBeforeSetFocus) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND a = rec.Create(page, RECT{0, 0, 10, 10});
    HWND b = rec.Create(page, RECT{20, 0, 30, 10});
    SetFocus(a);
    rec.Clear();
    EXPECT_EQ(SetFocus(b), a);
    std::vector<Received> got = rec.Of({WM_KILLFOCUS, WM_SETFOCUS});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].hwnd, a);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_KILLFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(got[0].wParam), b);
    EXPECT_EQ(got[1].hwnd, b);
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_SETFOCUS));
    EXPECT_EQ(reinterpret_cast<HWND>(got[1].wParam), a);
    rec.Clear();
    SetFocus(b);
    EXPECT_TRUE(rec.log.empty()) << "focusing the focused window sends nothing";
    EXPECT_EQ(GetFocus(), b);
}

TEST_F(InputTest, DisablingTheFocusedWindowTakesItsFocus) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND a = rec.Create(page, RECT{0, 0, 10, 10});
    SetFocus(a);
    rec.Clear();
    EXPECT_FALSE(EnableWindow(a, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    std::vector<Received> got = rec.Of({WM_KILLFOCUS, WM_ENABLE});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_ENABLE));
    EXPECT_EQ(got[1].wParam, static_cast<WPARAM>(FALSE));
    rec.Clear();
    EXPECT_TRUE(EnableWindow(a, FALSE)) << "it was disabled already";
    EXPECT_TRUE(rec.log.empty());
}

TEST_F(InputTest, TouchGoesToTheTopMostVisibleEnabledWindowInClientCoordinates) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND lower = rec.Create(page, RECT{10, 10, 110, 110});
    HWND upper = rec.Create(page, RECT{50, 50, 150, 150});
    rec.Create(page, RECT{0, 0, 320, 240}, 0);  // hidden, over everything
    SetWindowPos(upper, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    session.Pump();
    rec.Clear();
    session.Run("tap 60 70");
    std::vector<Received> downs = rec.Of({WM_LBUTTONDOWN, WM_LBUTTONUP});
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].hwnd, upper);
    EXPECT_EQ(downs[0].lParam, MAKELPARAM(10, 20));
    EXPECT_EQ(downs[1].message, static_cast<UINT>(WM_LBUTTONUP));
    rec.Clear();
    session.Run("tap 20 20");
    EXPECT_EQ(rec.WindowsThatGot(WM_LBUTTONDOWN), (std::vector<HWND>{lower}));
    rec.Clear();
    EnableWindow(page, FALSE);
    session.Run("tap 20 20");
    EXPECT_TRUE(rec.Of({WM_LBUTTONDOWN}).empty()) << "a disabled window takes no touches";
}

TEST_F(InputTest, StaticWithoutNotifyIsTransparentToTouch) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND below = rec.Create(page, RECT{0, 0, 100, 100});
    CreateWindowExW(0, WC_STATIC, u"plain", WS_CHILD | WS_VISIBLE, 10, 10, 50, 20, page, reinterpret_cast<HMENU>(30),
                    nullptr, nullptr);
    HWND notify = CreateWindowExW(0, WC_STATIC, u"notify", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 10, 40, 50, 20, page,
                                  reinterpret_cast<HMENU>(31), nullptr, nullptr);
    // Statics are created after `below`, so they lie beneath it: raise them.
    SetWindowPos(below, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    session.Pump();
    rec.Clear();
    session.Run("tap 15 15");
    EXPECT_EQ(rec.WindowsThatGot(WM_LBUTTONDOWN), (std::vector<HWND>{below}));
    rec.Clear();
    session.Run("tap 15 45");
    EXPECT_TRUE(rec.Of({WM_LBUTTONDOWN}).empty());
    std::vector<Received> commands = rec.Of({WM_COMMAND});
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].hwnd, page);
    EXPECT_EQ(commands[0].wParam, MAKEWPARAM(31, STN_CLICKED));
    EXPECT_EQ(reinterpret_cast<HWND>(commands[0].lParam), notify);
}

TEST_F(InputTest, ButtonClicksOnlyWhenTheFingerLiftsOverIt) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND button = CreateWindowExW(0, WC_BUTTON, u"Go", WS_CHILD | WS_VISIBLE, 10, 10, 60, 30, page,
                                  reinterpret_cast<HMENU>(40), nullptr, nullptr);
    session.Pump();
    session.Run("tap 20 20");
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(rec.Of({WM_COMMAND}).size(), 1u);
    EXPECT_EQ(rec.Of({WM_COMMAND})[0].wParam, MAKEWPARAM(40, BN_CLICKED));
    rec.Clear();
    mouse_event(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTDOWN, 20 * 65536 / 320 + 1, 20 * 65536 / 240 + 1, 0, 0);
    session.Pump();
    EXPECT_EQ(GetCapture(), button);
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, BST_PUSHED);
    mouse_event(MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_LEFTUP, 200 * 65536 / 320, 200 * 65536 / 240, 0, 0);
    session.Pump();
    EXPECT_TRUE(rec.Of({WM_COMMAND}).empty()) << "lifted outside";
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED, 0);
}

TEST_F(InputTest, KeysGoToTheFocusWindowMenuAsSystemKey) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND field = rec.Create(page, RECT{0, 0, 10, 10});
    SetFocus(field);
    rec.Clear();
    session.Run("key 7");
    session.Run("key MENU");
    session.Run("key STAR");
    session.Run("key ESC");
    std::vector<Received> keys = rec.Of({WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP});
    ASSERT_EQ(keys.size(), 8u);
    EXPECT_EQ(keys[0].hwnd, field);
    EXPECT_EQ(keys[2].message, static_cast<UINT>(WM_SYSKEYDOWN));
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>(VK_MENU));
    EXPECT_EQ(keys[3].message, static_cast<UINT>(WM_SYSKEYUP));
    EXPECT_EQ(keys[4].wParam, static_cast<WPARAM>(0x2A));
    // Key-up messages carry the transition bits.
    EXPECT_EQ(static_cast<DWORD>(keys[1].lParam) & 0xC0000000u, 0xC0000000u);
}

TEST_F(InputTest, TranslateMessageMakesCharactersOfDigitsAndControlKeysOnly) {
    auto charOf = [](WPARAM vk) -> int {
        MSG down{nullptr, WM_KEYDOWN, vk, 1, 0, {0, 0}};
        if (!TranslateMessage(&down)) return -1;
        MSG ch;
        EXPECT_TRUE(PeekMessageW(&ch, nullptr, WM_CHAR, WM_CHAR, PM_REMOVE));
        return static_cast<int>(ch.wParam);
    };
    EXPECT_EQ(charOf('4'), '4');
    EXPECT_EQ(charOf(VK_OEM_PERIOD), '.');
    EXPECT_EQ(charOf(VK_BACK), 8);
    EXPECT_EQ(charOf(VK_RETURN), 13);
    EXPECT_EQ(charOf(VK_ESCAPE), 27);
    EXPECT_EQ(charOf(VK_SPACE), ' ');
    EXPECT_EQ(charOf(0x2A), -1);
    EXPECT_EQ(charOf(0x23), -1);
    EXPECT_EQ(charOf(VK_UP), -1);
    EXPECT_EQ(charOf(VK_MENU), -1);
}

std::vector<std::string>* g_hookTrace = nullptr;
HHOOK g_first = nullptr;
HHOOK g_second = nullptr;

LRESULT FirstHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam);
    g_hookTrace->push_back("first " + std::to_string(info->vkCode));
    return CallNextHookEx(g_first, code, wParam, lParam);
}

LRESULT SecondHook(int code, WPARAM wParam, LPARAM lParam) {
    auto* info = reinterpret_cast<KBDLLHOOKSTRUCT*>(lParam);
    g_hookTrace->push_back("second " + std::to_string(info->vkCode));
    if (info->vkCode == VK_F5) return 1;  // swallowed
    return CallNextHookEx(g_second, code, wParam, lParam);
}

TEST_F(InputTest, EveryKeyPassesTheHookChainNewestFirst) {
    std::vector<std::string> trace;
    g_hookTrace = &trace;
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    SetFocus(page);
    g_first = SetWindowsHookExW(WH_KEYBOARD_LL, FirstHook, nullptr, 0);
    g_second = SetWindowsHookExW(WH_KEYBOARD_LL, SecondHook, nullptr, 0);
    ASSERT_NE(g_first, nullptr);
    rec.Clear();
    session.Run("keydown 1");
    session.Run("keydown F5");
    EXPECT_EQ(trace, (std::vector<std::string>{"second 49", "first 49", "second 116"}));
    std::vector<Received> downs = rec.Of({WM_KEYDOWN});
    ASSERT_EQ(downs.size(), 1u) << "F5 was swallowed";
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('1'));
    EXPECT_TRUE(UnhookWindowsHookEx(g_second));
    EXPECT_TRUE(UnhookWindowsHookEx(g_first));
    EXPECT_FALSE(UnhookWindowsHookEx(g_first));
    trace.clear();
    session.Run("keydown F5");
    EXPECT_TRUE(trace.empty());
    EXPECT_EQ(rec.Of({WM_KEYDOWN}).size(), 2u);
    g_hookTrace = nullptr;
}

TEST_F(InputTest, KeysInjectedFromAnotherThreadArriveInOrder) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    SetFocus(page);
    std::thread worker([] {
        for (BYTE vk : {'1', '2', '3'}) {
            keybd_event(vk, static_cast<BYTE>(MapVirtualKey(vk, 0)), 0, 0);
            keybd_event(vk, static_cast<BYTE>(MapVirtualKey(vk, 0)), KEYEVENTF_KEYUP, 0);
        }
    });
    worker.join();
    rec.Clear();
    session.Pump();
    std::vector<Received> downs = rec.Of({WM_KEYDOWN});
    ASSERT_EQ(downs.size(), 3u);
    EXPECT_EQ(downs[0].wParam, static_cast<WPARAM>('1'));
    EXPECT_EQ(downs[2].wParam, static_cast<WPARAM>('3'));
    EXPECT_EQ(MapVirtualKey('1', 0), 2u);
}

const DialogTemplate kKeysDialog{
    601,
    WS_POPUP | WS_VISIBLE,
    0,
    0,
    320,
    240,
    u"",
    {
        {10, WC_BUTTON, u"a", WS_TABSTOP, 0, 0, 50, 20},
        {11, WC_BUTTON, u"disabled", WS_TABSTOP | WS_DISABLED, 0, 30, 50, 20},
        {12, WC_STATIC, u"no tab stop", 0, 0, 60, 50, 20},
        {13, WC_BUTTON, u"b", WS_TABSTOP, 0, 90, 50, 20},
        {IDOK, WC_BUTTON, u"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, 100, 0, 50, 20},
    },
};

TEST_F(InputTest, DialogManagerHandlesTabEnterAndEscape) {
    HWND dialog = CreateDialogIndirectParamW(nullptr, &kKeysDialog, nullptr, nullptr, 0);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 10)) << "first tab stop after WM_INITDIALOG";
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 10), FALSE), GetDlgItem(dialog, 13));
    EXPECT_EQ(GetNextDlgTabItem(dialog, GetDlgItem(dialog, 10), TRUE), GetDlgItem(dialog, IDOK));

    auto pump = [&](WPARAM vk) {
        keybd_event(static_cast<BYTE>(vk), 0, 0, 0);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!IsDialogMessageW(dialog, &msg)) DispatchMessageW(&msg);
        }
    };
    SetWindowLongPtrW(dialog, DWL_DLGPROC, 0);
    pump(VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 13));
    // Enter on a push button presses that button; on another control the
    // default one. Esc is IDCANCEL.
    struct Sink {
        static INT_PTR Proc(HWND, UINT message, WPARAM wParam, LPARAM) {
            if (message == WM_COMMAND) seen().push_back(wParam);
            return message == WM_COMMAND;
        }
        static std::vector<WPARAM>& seen() {
            static std::vector<WPARAM> list;
            return list;
        }
    };
    Sink::seen().clear();
    SetWindowLongPtrW(dialog, DWL_DLGPROC, reinterpret_cast<LONG_PTR>(&Sink::Proc));
    pump(VK_RETURN);
    SetFocus(GetDlgItem(dialog, 12));
    pump(VK_RETURN);
    pump(VK_ESCAPE);
    EXPECT_EQ(Sink::seen(), (std::vector<WPARAM>{MAKEWPARAM(13, BN_CLICKED), MAKEWPARAM(IDOK, BN_CLICKED),
                                                 MAKEWPARAM(IDCANCEL, BN_CLICKED)}));
    DestroyWindow(dialog);
}

TEST(Cursor, PositionIsClippedToTheScreen) {
    SetCursorPos(400, -5);
    POINT p{};
    GetCursorPos(&p);
    EXPECT_EQ(p.x, 319);
    EXPECT_EQ(p.y, 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 240);
}

}  // namespace

namespace {

TEST_F(InputTest, TrackedWindowHearsHoverAndLeave) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND button = rec.Create(page, RECT{10, 10, 60, 40});
    session.Pump();
    InjectTouch(POINT{20, 20}, TouchAction::Down);
    session.Pump();
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_HOVER | TME_LEAVE, button, 1};
    ASSERT_TRUE(TrackMouseEvent(&track));
    rec.Clear();
    session.Run("wait 5");
    InjectTouch(POINT{25, 22}, TouchAction::Move);
    session.Pump();
    InjectTouch(POINT{100, 100}, TouchAction::Move);
    session.Pump();
    std::vector<Received> got = rec.Of({WM_MOUSEHOVER, WM_MOUSELEAVE});
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_MOUSEHOVER));
    EXPECT_EQ(got[0].lParam, MAKELPARAM(15, 12));
    EXPECT_EQ(got[1].message, static_cast<UINT>(WM_MOUSELEAVE));
    EXPECT_EQ(got[1].hwnd, button);
    // Lifting the finger over the window also ends the tracking.
    InjectTouch(POINT{20, 20}, TouchAction::Move);
    session.Pump();
    track.dwFlags = TME_LEAVE;
    ASSERT_TRUE(TrackMouseEvent(&track));
    rec.Clear();
    session.Run("tap 20 20");
    EXPECT_EQ(rec.Of({WM_MOUSELEAVE}).size(), 1u);
}

TEST_F(InputTest, WindowRegionShapesTouchesAndPainting) {
    HWND page = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    HWND round = rec.Create(page, RECT{0, 0, 100, 100});
    rec.eraseColor[page] = RGB(0, 0, 255);
    rec.eraseColor[round] = RGB(255, 0, 0);
    EXPECT_EQ(SetWindowRgn(round, CreateRectRgn(50, 50, 100, 100), TRUE), 1);
    session.Pump();
    EXPECT_EQ(ScreenSurface().At(10, 10) & 0xFFFFFF, PixelFromColorRef(RGB(0, 0, 255)));
    EXPECT_EQ(ScreenSurface().At(60, 60) & 0xFFFFFF, PixelFromColorRef(RGB(255, 0, 0)));
    rec.Clear();
    session.Run("tap 10 10");
    session.Run("tap 60 60");
    EXPECT_EQ(rec.WindowsThatGot(WM_LBUTTONDOWN), (std::vector<HWND>{page, round}));
}

// The tests of long work start on a focused page with `held` down since
// before the work and the keys they use up, whatever earlier tests left.
class LongWorkInputTest : public RecordingTest {
protected:
    void FocusedPageWithKeyHeld(BYTE held) {
        SetFocus(rec.CreateTopLevel(RECT{0, 0, 320, 240}));
        for (const BYTE vk : {held, BYTE{VK_RETURN}, BYTE{VK_ESCAPE}}) InjectKey(vk, false);
        InjectKey(held, true);
        session.Pump();
        rec.Clear();
    }
};

// Long work lasts from its first step until the thread looks at its
// messages again. A key ends as its press began: delivered, or dropped.
TEST_F(LongWorkInputTest, KeysAndTouchesThatComeDuringLongWorkAreDroppedWithTheirEnds) {
    FocusedPageWithKeyHeld('1');

    LongWorkStep();
    EXPECT_TRUE(InLongWork());
    InjectKey('1', true);  // held since before the work: a repeat
    InjectKey('1', false);
    InjectKey(VK_RETURN, true);
    InjectTouch(POINT{5, 5}, TouchAction::Down);
    InjectTouch(POINT{6, 6}, TouchAction::Move);
    session.Pump();
    EXPECT_FALSE(InLongWork()) << "the thread looked at its messages";
    InjectKey(VK_RETURN, false);
    InjectTouch(POINT{6, 6}, TouchAction::Up);
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_ESCAPE, false);
    session.Run("tap 7 7");
    session.Pump();

    const std::vector<Received> keys = rec.Of({WM_KEYDOWN, WM_KEYUP});
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[0].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>('1'));
    EXPECT_EQ(keys[1].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>(VK_ESCAPE));
    EXPECT_EQ(keys[1].lParam & (1 << 30), 0) << "Esc was up before";
    EXPECT_EQ(keys[2].wParam, static_cast<WPARAM>(VK_ESCAPE));
    const std::vector<Received> touches = rec.Of({WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP});
    ASSERT_EQ(touches.size(), 2u) << "only the tap after the work";
    EXPECT_EQ(touches[0].lParam, MAKELPARAM(7, 7));
    EXPECT_EQ(touches[1].message, static_cast<UINT>(WM_LBUTTONUP));
    EXPECT_EQ(GetKeyState(VK_RETURN), 0);
    EXPECT_EQ(GetKeyState('1'), 0);
}

// A key pressed during long work and held past its end: the auto-repeats
// that come during the work and after it go with the press, and so does its
// release. A key held since before the work keeps its release after it;
// other keys, and the same key pressed again, work at once.
TEST_F(LongWorkInputTest, APressDroppedDuringLongWorkHasItsRepeatsAndReleaseDroppedAfterIt) {
    FocusedPageWithKeyHeld('2');

    LongWorkStep();
    InjectKey(VK_RETURN, true);
    InjectKey(VK_RETURN, true);
    session.Pump();
    ASSERT_FALSE(InLongWork());
    InjectKey(VK_RETURN, true);
    InjectKey(VK_ESCAPE, true);
    InjectKey(VK_RETURN, true);
    InjectKey(VK_ESCAPE, false);
    InjectKey('2', false);
    InjectKey(VK_RETURN, false);
    InjectKey(VK_RETURN, true);
    InjectKey(VK_RETURN, false);
    session.Pump();

    std::vector<std::pair<UINT, WPARAM>> keys;
    for (const Received& key : rec.Of({WM_KEYDOWN, WM_KEYUP})) keys.emplace_back(key.message, key.wParam);
    const std::vector<std::pair<UINT, WPARAM>> expected = {
        {WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}, {WM_KEYUP, '2'}, {WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}};
    EXPECT_EQ(keys, expected);
    EXPECT_EQ(rec.Of({WM_KEYDOWN}).back().lParam & (1 << 30), 0) << "a new press, not a repeat";
}

// The lines the input queue wrote to the log after `since`.
size_t FloodNotes(uint64_t since) {
    size_t notes = 0;
    for (const JournalEntry& entry : JournalRead(kJournalDebug, since))
        notes += entry.text.find(u"input queue full") != std::u16string::npos;
    return notes;
}

// A flood of key frames while the window is busy: the queue keeps the
// oldest up to its bound and drops the newest, lets in the release of each
// key it took as pressed (none is left held), and says so in the log once
// a flood, not once a key.
TEST_F(InputTest, AFloodOfKeysIsBoundedAndToldOnce) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    session.Pump();
    SetFocus(w);
    rec.Clear();
    const uint64_t since = JournalLastSequence();
    const auto flood = [] {
        for (int i = 0; i < 20000; ++i) {
            keybd_event('5', 0, 0, 0);
            keybd_event('5', 0, KEYEVENTF_KEYUP, 0);
        }
    };
    keybd_event('1', 0, 0, 0);
    flood();
    keybd_event('1', 0, KEYEVENTF_KEYUP, 0);
    session.Pump();
    const std::vector<Received> downs = rec.Of({WM_KEYDOWN}), ups = rec.Of({WM_KEYUP});
    // 256 queued: the press of 1 and 255 of the flood (128 presses of 5,
    // 127 releases); then the release of the last 5 and of 1.
    ASSERT_EQ(downs.size(), 129u);
    ASSERT_EQ(ups.size(), 129u);
    EXPECT_EQ(downs.front().wParam, static_cast<WPARAM>('1'));
    EXPECT_EQ(ups.back().wParam, static_cast<WPARAM>('1'));
    EXPECT_EQ(GetKeyState('5'), 0) << "no key is left held";
    EXPECT_EQ(GetKeyState('1'), 0);
    EXPECT_EQ(FloodNotes(since), 1u);

    // Once the queue has room, keys get in again; a later flood is told
    // again once the time between notes has passed.
    rec.Clear();
    keybd_event('7', 0, 0, 0);
    keybd_event('7', 0, KEYEVENTF_KEYUP, 0);
    session.Pump();
    EXPECT_EQ(rec.Of({WM_KEYDOWN, WM_KEYUP}).size(), 2u);
    AdvanceVirtualClock(10000);
    flood();
    session.Pump();
    EXPECT_EQ(FloodNotes(since), 2u);
}

// The bound is exact: a held key's repeats, one press each, fill the queue
// to 256 and no further; its release still gets in.
TEST_F(InputTest, TheQueueHoldsExactly256Events) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    session.Pump();
    SetFocus(w);
    rec.Clear();
    for (int i = 0; i < 300; ++i) keybd_event('5', 0, 0, 0);
    keybd_event('5', 0, KEYEVENTF_KEYUP, 0);
    session.Pump();
    EXPECT_EQ(rec.Of({WM_KEYDOWN}).size(), 256u);
    EXPECT_EQ(rec.Of({WM_KEYUP}).size(), 1u);
    EXPECT_EQ(GetKeyState('5'), 0);
}

}  // namespace

// A box that closes on a key's press took the key: a second box that
// answers on the release does not take that key's auto-repeats or release
// (queued already or still to come) for its own answer. The next press of
// the key is a new one.
TEST_F(InputTest, AKeyThatClosesABoxOnItsPressLeavesTheNextBoxOnScreen) {
    SetFocus(rec.CreateTopLevel(RECT{0, 0, 320, 240}));
    session.RunWhenIdle({"keydown ENTER", "keydown ENTER", "keyup ENTER", "key ESC", "key ENTER"});
    EXPECT_EQ(MessageBoxW(nullptr, u"first", u"", MB_OK), IDOK);
    ReleaseBox second;
    second.DoModal();
    ReleaseBox third;
    third.DoModal();
    using Key = ReleaseBox::Key;
    EXPECT_EQ(second.keys, std::vector<Key>({{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}}));
    EXPECT_EQ(third.keys, std::vector<Key>({{WM_KEYDOWN, VK_RETURN}, {WM_KEYUP, VK_RETURN}}));
    EXPECT_EQ(GetKeyState(VK_RETURN), 0);
}

// The same press and release of Enter as the script driver's "key ENTER"
// gives them, both queued before the first box takes the press.
TEST_F(InputTest, AScriptedKeyThatClosesABoxDoesNotCloseTheNextOne) {
    SetFocus(rec.CreateTopLevel(RECT{0, 0, 320, 240}));
    session.RunWhenIdle({"key ENTER", "key ESC"});
    EXPECT_EQ(MessageBoxW(nullptr, u"first", u"", MB_OK), IDOK);
    ReleaseBox second;
    second.DoModal();
    EXPECT_EQ(second.keys, std::vector<ReleaseBox::Key>({{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}}));
}
