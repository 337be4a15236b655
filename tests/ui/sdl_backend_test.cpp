// The window back end under SDL's offscreen driver: the mouse is the finger
// (halved coordinates), the keyboard the keypad.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <string>

#include "platform/ui/display.h"
#include "platform/ui/msgbox.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"
#include "tests/ui/release_box.h"

namespace {

void Push(SDL_Event event) { ASSERT_EQ(SDL_PushEvent(&event), 1); }

// A focused full-screen page in a window shown by the offscreen driver.
class SdlBackend : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ASSERT_EQ(StartDisplay(DisplayMode::Window), DisplayMode::Window);
        SetFocus(rec.CreateTopLevel(RECT{0, 0, 320, 240}));
    }

    UiSession session;
    Recorder rec;
};

TEST_F(SdlBackend, MouseIsTouchAndKeyboardIsKeypad) {
    SDL_Event click{};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    click.button.x = 200;
    click.button.y = 100;
    Push(click);
    click.type = SDL_MOUSEBUTTONUP;
    Push(click);
    SDL_Event key{};
    key.type = SDL_KEYDOWN;
    key.key.keysym.sym = SDLK_8;
    key.key.keysym.mod = KMOD_LSHIFT;
    Push(key);
    key.key.keysym.sym = SDLK_F3;
    key.key.keysym.mod = KMOD_NONE;
    Push(key);

    DisplayIdle();
    session.Pump();
    StopDisplay();

    std::vector<Received> touches = rec.Of({WM_LBUTTONDOWN, WM_LBUTTONUP});
    ASSERT_EQ(touches.size(), 2u);
    EXPECT_EQ(touches[0].lParam, MAKELPARAM(100, 50));
    std::vector<Received> keys = rec.Of({WM_KEYDOWN});
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_KEYPAD_STAR));
    EXPECT_EQ(keys[1].wParam, static_cast<WPARAM>(VK_F3));
}

SDL_Event KeyEvent(Uint32 type, SDL_Scancode scancode, SDL_Keycode sym, Uint16 mod) {
    SDL_Event key{};
    key.type = type;
    key.key.keysym.scancode = scancode;
    key.key.keysym.sym = sym;
    key.key.keysym.mod = mod;
    return key;
}

// '#' is Shift+3 and '*' Shift+8: typed with Shift let go first, the
// release ends the '#' or '*' that the press began; 3 pressed before Shift
// is a 3 until it is released.
TEST_F(SdlBackend, AKeysReleaseEndsTheKeypadKeyItsPressMade) {
    Push(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_3, SDLK_3, KMOD_LSHIFT));
    Push(KeyEvent(SDL_KEYUP, SDL_SCANCODE_3, SDLK_3, KMOD_NONE));
    Push(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_8, SDLK_8, KMOD_RSHIFT));
    Push(KeyEvent(SDL_KEYUP, SDL_SCANCODE_8, SDLK_8, KMOD_NONE));
    Push(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_3, SDLK_3, KMOD_NONE));
    Push(KeyEvent(SDL_KEYUP, SDL_SCANCODE_3, SDLK_3, KMOD_LSHIFT));
    DisplayIdle();
    session.Pump();
    StopDisplay();

    const std::vector<Received> keys = rec.Of({WM_KEYDOWN, WM_KEYUP});
    const std::vector<std::pair<UINT, WPARAM>> expected{
        {WM_KEYDOWN, VK_KEYPAD_HASH}, {WM_KEYUP, VK_KEYPAD_HASH}, {WM_KEYDOWN, VK_KEYPAD_STAR},
        {WM_KEYUP, VK_KEYPAD_STAR},   {WM_KEYDOWN, '3'},          {WM_KEYUP, '3'}};
    std::vector<std::pair<UINT, WPARAM>> got;
    for (const Received& key : keys) got.emplace_back(key.message, key.wParam);
    EXPECT_EQ(got, expected);
    for (const int vk : {VK_KEYPAD_HASH, VK_KEYPAD_STAR, int{'3'}}) EXPECT_EQ(GetKeyState(vk), 0) << vk;
}

// Both rows of digits type their own digit: the numeric keypad's as the
// keyboard's.
TEST_F(SdlBackend, EveryDigitKeyTypesItsDigit) {
    const SDL_Scancode padScancodes[] = {SDL_SCANCODE_KP_0, SDL_SCANCODE_KP_1, SDL_SCANCODE_KP_2, SDL_SCANCODE_KP_3,
                                         SDL_SCANCODE_KP_4, SDL_SCANCODE_KP_5, SDL_SCANCODE_KP_6, SDL_SCANCODE_KP_7,
                                         SDL_SCANCODE_KP_8, SDL_SCANCODE_KP_9};
    const SDL_Keycode padKeys[] = {SDLK_KP_0, SDLK_KP_1, SDLK_KP_2, SDLK_KP_3, SDLK_KP_4,
                                   SDLK_KP_5, SDLK_KP_6, SDLK_KP_7, SDLK_KP_8, SDLK_KP_9};
    const SDL_Scancode rowScancodes[] = {SDL_SCANCODE_0, SDL_SCANCODE_1, SDL_SCANCODE_2, SDL_SCANCODE_3,
                                         SDL_SCANCODE_4, SDL_SCANCODE_5, SDL_SCANCODE_6, SDL_SCANCODE_7,
                                         SDL_SCANCODE_8, SDL_SCANCODE_9};
    const SDL_Keycode rowKeys[] = {SDLK_0, SDLK_1, SDLK_2, SDLK_3, SDLK_4, SDLK_5, SDLK_6, SDLK_7, SDLK_8, SDLK_9};
    for (int digit = 0; digit < 10; ++digit) {
        Push(KeyEvent(SDL_KEYDOWN, padScancodes[digit], padKeys[digit], KMOD_NONE));
        Push(KeyEvent(SDL_KEYUP, padScancodes[digit], padKeys[digit], KMOD_NONE));
        Push(KeyEvent(SDL_KEYDOWN, rowScancodes[digit], rowKeys[digit], KMOD_NONE));
        Push(KeyEvent(SDL_KEYUP, rowScancodes[digit], rowKeys[digit], KMOD_NONE));
    }
    DisplayIdle();
    session.Pump();
    StopDisplay();

    const std::string typed = "00112233445566778899";
    std::string downs, ups;
    for (const Received& key : rec.Of({WM_KEYDOWN})) downs += static_cast<char>(key.wParam);
    for (const Received& key : rec.Of({WM_KEYUP})) ups += static_cast<char>(key.wParam);
    EXPECT_EQ(downs, typed);
    EXPECT_EQ(ups, typed);
}

// Enter pressed and released on a box that closes on the press: the release
// does not close the box shown next, which waits for a key of its own.
TEST_F(SdlBackend, TheReleaseOfTheKeyThatClosedABoxLeavesTheNextBoxOnScreen) {
    Push(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE));
    Push(KeyEvent(SDL_KEYUP, SDL_SCANCODE_RETURN, SDLK_RETURN, KMOD_NONE));
    Push(KeyEvent(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE));
    Push(KeyEvent(SDL_KEYUP, SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, KMOD_NONE));
    EXPECT_EQ(MessageBoxW(nullptr, u"first", u"", MB_OK), IDOK);
    ReleaseBox second;
    second.DoModal();
    StopDisplay();
    EXPECT_EQ(second.keys, std::vector<ReleaseBox::Key>({{WM_KEYDOWN, VK_ESCAPE}, {WM_KEYUP, VK_ESCAPE}}));
}

}  // namespace
