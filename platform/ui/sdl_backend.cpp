// The window back end: the screen in an SDL window scaled x2. The mouse is
// the finger; the keyboard stands in for the keypad (arrows, Enter, Esc,
// Backspace, F1-F12, digits, '*', '#', and the Menu key on Menu or 'm').
// Ctrl+1..9, Ctrl+K, Space and dropped files belong to the device's hands
// (DeviceHands), never to the keypad. On X, the window destroyed by another
// program is taken as its close (xwindow.h).
#include <SDL.h>

#include <array>
#include <cstdlib>
#include <utility>

#include "platform/base/debug.h"
#include "platform/ui/display.h"
#include "platform/ui/input.h"
#include "platform/ui/winuser.h"
#include "platform/ui/xwindow.h"

namespace {

constexpr int kScale = 2;

BYTE KeypadKey(const SDL_Keysym& key) {
    const bool shift = (key.mod & KMOD_SHIFT) != 0;
    SDL_Keycode code = key.sym;
    if (shift && code == SDLK_8) return VK_KEYPAD_STAR;
    if (shift && code == SDLK_3) return VK_KEYPAD_HASH;
    if (code >= SDLK_0 && code <= SDLK_9) return static_cast<BYTE>('0' + (code - SDLK_0));
    if (code >= SDLK_KP_1 && code <= SDLK_KP_9) return static_cast<BYTE>('1' + (code - SDLK_KP_1));
    if (code >= SDLK_F1 && code <= SDLK_F12) return static_cast<BYTE>(VK_F1 + (code - SDLK_F1));
    switch (code) {
    case SDLK_KP_0:
        return '0';
    case SDLK_ASTERISK:
    case SDLK_KP_MULTIPLY:
        return VK_KEYPAD_STAR;
    case SDLK_HASH:
        return VK_KEYPAD_HASH;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_MENU:
    case SDLK_APPLICATION:
    case SDLK_m:
        return VK_MENU;
    default:
        return 0;
    }
}

// The keypad key of each key of the keyboard that is down. A key's release
// ends the keypad key its press made: '#' is Shift+3, and Shift released
// before 3 must not turn the release of '#' into one of '3'.
class KeypadKeys {
public:
    // The keypad key of a press or release; 0 when it is none.
    BYTE Map(const SDL_KeyboardEvent& key) {
        const auto code = static_cast<size_t>(key.keysym.scancode);
        if (code >= m_down.size()) return KeypadKey(key.keysym);
        if (key.type == SDL_KEYDOWN) {
            // A repeat keeps what the first press made.
            if (key.repeat == 0 || m_down[code] == 0) m_down[code] = KeypadKey(key.keysym);
            return m_down[code];
        }
        return std::exchange(m_down[code], 0);
    }

private:
    std::array<BYTE, SDL_NUM_SCANCODES> m_down{};
};

// The key is one of the hands' own (pressed or released); false when it
// belongs to the keypad.
bool TakeHandsKey(const SDL_KeyboardEvent& key, DeviceHands* hands) {
    const bool control = (key.keysym.mod & KMOD_CTRL) != 0;
    const SDL_Keycode code = key.keysym.sym;
    const bool down = key.type == SDL_KEYDOWN;
    if (code == SDLK_SPACE) {
        if (hands != nullptr && key.repeat == 0) hands->PressFinger(down);
        return true;
    }
    if (!control) return false;
    if (code >= SDLK_1 && code <= SDLK_9) {
        if (hands != nullptr && down && key.repeat == 0) hands->ChooseSample(static_cast<int>(code - SDLK_0));
        return true;
    }
    if (code == SDLK_k) {
        if (hands != nullptr && down && key.repeat == 0) hands->ShowNextCard();
        return true;
    }
    return false;
}

// The SDL driver for the display the environment names; nullptr when
// SDL_VIDEODRIVER names it itself.
const char* HostDisplayDriver() {
    const char* chosen = std::getenv("SDL_VIDEODRIVER");
    if (chosen != nullptr && *chosen != 0) return nullptr;
    const char* x11 = std::getenv("DISPLAY");
    if (x11 != nullptr && *x11 != 0) return "x11";
    return "wayland";
}

class SdlBackend : public DisplayBackend {
public:
    bool Open() {
        // A 320 x 240 picture needs no GPU: the software renderer over the
        // window's own framebuffer, which also keeps the offscreen driver of
        // the tests away from the GL stack.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The display the environment names is the one to use: SDL would
        // otherwise try its other drivers when that one fails, and end on
        // some other screen or none, complaining about something unrelated.
        if (const char* driver = HostDisplayDriver()) SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
        m_initialised = true;
        m_window = SDL_CreateWindow("Terminal", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth * kScale,
                                    kScreenHeight * kScale, 0);
        if (m_window == nullptr) return false;
        m_renderer = SDL_CreateRenderer(m_window, -1, SDL_RENDERER_SOFTWARE);
        if (m_renderer == nullptr) return false;
        m_texture = SDL_CreateTexture(m_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                      kScreenHeight);
        WatchXWindow(m_window);
        return m_texture != nullptr;
    }

    ~SdlBackend() override {
        if (m_texture) SDL_DestroyTexture(m_texture);
        if (m_renderer) SDL_DestroyRenderer(m_renderer);
        if (m_window) SDL_DestroyWindow(m_window);
        // A window destroyed from outside refuses its own destruction too.
        SettleXWindow();
        if (m_initialised) SDL_Quit();
    }

    void Present(const Surface& screen) override {
        SDL_UpdateTexture(m_texture, nullptr, screen.Pixels(), screen.Stride() * static_cast<int>(sizeof(Pixel)));
        SDL_RenderCopy(m_renderer, m_texture, nullptr, nullptr);
        SDL_RenderPresent(m_renderer);
        // While a page works without going back to its message loop, the
        // window's events wait in SDL's queue, in order, for the loop to take
        // them; the window meanwhile still answers the window manager.
        SDL_PumpEvents();
    }

    void PumpEvents() override {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            switch (event.type) {
            case SDL_QUIT:
                DisplayCloseRequested();
                break;
            case SDL_DROPFILE:
                if (DeviceHands* hands = GetDeviceHands()) hands->ChooseImage(event.drop.file);
                SDL_free(event.drop.file);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP:
                if (event.button.button == SDL_BUTTON_LEFT) {
                    POINT pt{event.button.x / kScale, event.button.y / kScale};
                    InjectTouch(pt, event.type == SDL_MOUSEBUTTONDOWN ? TouchAction::Down : TouchAction::Up);
                }
                break;
            case SDL_MOUSEMOTION:
                if (event.motion.state & SDL_BUTTON_LMASK)
                    InjectTouch(POINT{event.motion.x / kScale, event.motion.y / kScale}, TouchAction::Move);
                break;
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                if (TakeHandsKey(event.key, GetDeviceHands())) break;
                if (BYTE vk = m_keypad.Map(event.key)) InjectKey(vk, event.type == SDL_KEYDOWN);
                break;
            default:
                break;
            }
        }
        // Another program destroyed the window: the terminal ends as at its
        // close button. Once: the end may take a while to unwind.
        if (XWindowDestroyed() && !m_destroyedSeen) {
            m_destroyedSeen = true;
            OutputDebugStringW(u"the window was destroyed by another program: taken as its close");
            DisplayCloseRequested();
        }
        ShowHandsInTitle();
    }

    bool NeedsPolling() const override { return true; }

private:
    void ShowHandsInTitle() {
        DeviceHands* hands = GetDeviceHands();
        const std::string title = hands != nullptr ? hands->Title() : "Terminal";
        if (title != m_title) SDL_SetWindowTitle(m_window, title.c_str());
        m_title = title;
    }

    KeypadKeys m_keypad;
    std::string m_title = "Terminal";
    bool m_destroyedSeen = false;
    bool m_initialised = false;
    SDL_Window* m_window = nullptr;
    SDL_Renderer* m_renderer = nullptr;
    SDL_Texture* m_texture = nullptr;
};

}  // namespace

std::unique_ptr<DisplayBackend> MakeSdlBackend(std::string* why) {
    auto backend = std::make_unique<SdlBackend>();
    if (!backend->Open()) {
        if (why != nullptr) *why = SDL_GetError();
        return nullptr;
    }
    return backend;
}
