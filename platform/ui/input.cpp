// The input queue and its routing: keys to the focus window (VK_MENU as a
// system key), touches to the capture window or else the top-most visible,
// enabled window under the finger that does not call itself transparent
// (WM_NCHITTEST answering HTTRANSPARENT, as statics without SS_NOTIFY do).
#include "platform/ui/input.h"

#include <algorithm>
#include <array>
#include <deque>
#include <string>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/base/utf.h"
#include "platform/ui/display.h"
#include "platform/ui/longwork.h"
#include "platform/ui/queue.h"
#include "platform/ui/rect.h"
#include "platform/ui/window.h"

namespace {

struct InputEvent {
    bool isKey;
    BYTE vk;
    bool down;
    TouchAction action;
    POINT pt;
    uint64_t sequence;
};

std::deque<InputEvent>& Events() {
    static std::deque<InputEvent> events;
    return events;
}

// Input waiting while the user-interface thread is busy: a flood (a
// controller sending key frames without end) must not take the memory.
// While the queue is full the newest input is dropped, as a keyboard
// buffer does, except the release of a key or finger the queue took as
// pressed (at most one each, so the queue stays bounded), which would
// otherwise be left held; the release of a press that was dropped goes too.
// The log says so once a flood begins and then at most every ten seconds.
constexpr size_t kMostQueuedInput = 256;
constexpr uint64_t kDropNoteEveryMs = 10000;

struct InputAdmission {
    std::array<bool, 256> pressQueued{};
    std::array<bool, 256> pressDropped{};
    uint64_t droppedSinceNote = 0;
    std::optional<uint64_t> lastNoteMs;
};
InputAdmission g_admission;

void NoteDroppedInput() {
    InputAdmission& a = g_admission;
    ++a.droppedSinceNote;
    const uint64_t now = ClockNowMs();
    if (a.lastNoteMs && now - *a.lastNoteMs < kDropNoteEveryMs) return;
    const std::string line = "input queue full (" + std::to_string(kMostQueuedInput) + " events): " +
                             std::to_string(a.droppedSinceNote) + " dropped";
    OutputDebugStringW(Utf8ToUtf16(line).c_str());
    a.droppedSinceNote = 0;
    a.lastNoteMs = now;
}

enum class InputKind { Press, Release, Move };

// Whether input of the key `slot` (VK_LBUTTON: the finger) joins the queue
// (caller holds WindowLock).
bool AdmitInput(BYTE slot, InputKind kind) {
    InputAdmission& a = g_admission;
    if (kind == InputKind::Release && a.pressQueued[slot]) {
        a.pressQueued[slot] = a.pressDropped[slot] = false;
        return true;
    }
    const bool releasesDropped = kind == InputKind::Release && a.pressDropped[slot];
    if (releasesDropped || Events().size() >= kMostQueuedInput) {
        if (kind != InputKind::Move) a.pressDropped[slot] = kind == InputKind::Press;
        NoteDroppedInput();
        return false;
    }
    if (kind == InputKind::Press) a.pressQueued[slot] = true;
    return true;
}

// Key states: as the queue has delivered them (GetKeyState) and as they were
// injected (GetAsyncKeyState).
std::array<bool, 256> g_delivered{};
std::array<bool, 256> g_injected{};
// Keys whose press a window took and ended with, until their release.
std::array<bool, 256> g_pressTaken{};

// Whether the key event is a repeat or the release of a taken press
// (caller holds WindowLock).
bool EndsTakenPress(const InputEvent& ev) {
    if (!ev.isKey || !g_pressTaken[ev.vk]) return false;
    if (!ev.down) g_pressTaken[ev.vk] = false;
    return true;
}
POINT g_cursor{0, 0};
int g_cursorShown = 0;

// The one TrackMouseEvent request in force.
struct Tracking {
    HWND hwnd = nullptr;
    DWORD flags = 0;
    DWORD hoverTime = 0;
    uint64_t since = 0;
};
Tracking g_tracking;
constexpr DWORD kDefaultHoverMs = 400;

POINT ClipToScreen(POINT p) {
    return POINT{std::clamp<LONG>(p.x, 0, kScreenWidth - 1), std::clamp<LONG>(p.y, 0, kScreenHeight - 1)};
}

// The queue that takes input: the one of the active window, else of the
// top-most visible top-level window.
ThreadQueue* InputQueue() {
    if (Window* active = WindowFromHandle(GetActiveWindow())) return active->queue;
    for (Window* top : Desktop()->children) {
        if (top->style & WS_VISIBLE) return top->queue;
    }
    return nullptr;
}

LPARAM KeyLParam(BYTE vk, bool down, bool wasDown) {
    DWORD scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    DWORD lParam = 1 | (scan << 16);
    if (wasDown) lParam |= 1u << 30;
    if (!down) lParam |= 0xC0000000u;
    return static_cast<LPARAM>(lParam);
}

std::optional<MSG> RouteKey(const InputEvent& ev) {
    WindowGuard guard(WindowLock());
    bool wasDown = g_delivered[ev.vk];
    g_delivered[ev.vk] = ev.down;
    HWND target = GetFocus();
    if (target == nullptr) target = GetActiveWindow();
    if (target == nullptr) return std::nullopt;
    UINT message = ev.vk == VK_MENU ? (ev.down ? WM_SYSKEYDOWN : WM_SYSKEYUP) : (ev.down ? WM_KEYDOWN : WM_KEYUP);
    MSG msg{target, message, ev.vk, KeyLParam(ev.vk, ev.down, wasDown), static_cast<DWORD>(ClockNowMs()), g_cursor};
    return msg;
}

// Answers the tracking request once the finger leaves the tracked window
// (or lifts), or moves inside it after the hover time.
void NoteTracking(HWND target, TouchAction action, POINT client) {
    WindowGuard guard(WindowLock());
    Tracking& t = g_tracking;
    if (t.hwnd == nullptr) return;
    if (target != t.hwnd || action == TouchAction::Up) {
        if (t.flags & TME_LEAVE) PostMessageW(t.hwnd, WM_MOUSELEAVE, 0, 0);
        t = Tracking{};
        return;
    }
    if ((t.flags & TME_HOVER) && ClockNowMs() - t.since >= t.hoverTime) {
        PostMessageW(t.hwnd, WM_MOUSEHOVER, MK_LBUTTON, MAKELPARAM(client.x, client.y));
        t.flags &= ~static_cast<DWORD>(TME_HOVER);
        if (t.flags == 0) t = Tracking{};
    }
}

std::optional<MSG> RouteTouch(const InputEvent& ev) {
    {
        WindowGuard guard(WindowLock());
        g_cursor = ev.pt;
        g_delivered[VK_LBUTTON] = ev.action != TouchAction::Up;
    }
    HWND target = GetCapture();
    if (target == nullptr) target = WindowFromPoint(ev.pt);
    if (target == nullptr || !IsWindowEnabled(target)) {
        NoteTracking(nullptr, ev.action, ev.pt);
        return std::nullopt;
    }
    POINT client = ev.pt;
    ScreenToClient(target, &client);
    NoteTracking(target, ev.action, client);
    UINT message = ev.action == TouchAction::Down ? WM_LBUTTONDOWN
                   : ev.action == TouchAction::Up ? WM_LBUTTONUP
                                                  : WM_MOUSEMOVE;
    WPARAM keys = ev.action == TouchAction::Up ? 0 : MK_LBUTTON;
    return MSG{target, message, keys, MAKELPARAM(client.x, client.y), static_cast<DWORD>(ClockNowMs()), ev.pt};
}

// The deepest child of `parent` under the screen point that takes touches.
HWND DescendTo(HWND parent, POINT pt) {
    std::vector<HWND> children;
    {
        WindowGuard guard(WindowLock());
        Window* w = WindowFromHandle(parent);
        if (w == nullptr) return nullptr;
        for (Window* child : w->children) {
            if ((child->style & WS_VISIBLE) && CoversPoint(child, pt)) children.push_back(child->handle);
        }
    }
    for (HWND child : children) {
        if (!IsWindowEnabled(child)) return parent;
        if (SendMessageW(child, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y)) == HTTRANSPARENT) continue;
        return DescendTo(child, pt);
    }
    return parent;
}

}  // namespace

void InjectKey(BYTE vk, bool down) {
    if (DropKeyOfLongWork(vk, down)) return;
    WindowGuard guard(WindowLock());
    g_injected[vk] = down;
    if (!AdmitInput(vk, down ? InputKind::Press : InputKind::Release)) return;
    Events().push_back(InputEvent{true, vk, down, TouchAction::Down, g_cursor, NextMessageSequence()});
    WakeAllQueues();
}

void InjectTouch(POINT screen, TouchAction action) {
    if (DropTouchOfLongWork(action)) return;
    WindowGuard guard(WindowLock());
    g_injected[VK_LBUTTON] = action != TouchAction::Up;
    const InputKind kind = action == TouchAction::Down ? InputKind::Press
                           : action == TouchAction::Up ? InputKind::Release
                                                       : InputKind::Move;
    if (!AdmitInput(VK_LBUTTON, kind)) return;
    Events().push_back(InputEvent{false, 0, false, action, ClipToScreen(screen), NextMessageSequence()});
    WakeAllQueues();
}

std::optional<uint64_t> OldestInputSequence() {
    if (Events().empty()) return std::nullopt;
    ThreadQueue* owner = InputQueue();
    if (owner == nullptr) {
        // No window to take it: input goes nowhere, as on the device.
        Events().clear();
        return std::nullopt;
    }
    if (owner != CurrentQueue()) return std::nullopt;
    return Events().front().sequence;
}

void ClearInputQueue() {
    WindowGuard guard(WindowLock());
    Events().clear();
    // The releases that taken presses wait for may have gone with them.
    g_pressTaken.fill(false);
}

void DropEndsOfTakenPress(BYTE vk) {
    WindowGuard guard(WindowLock());
    if (!g_delivered[vk]) return;
    g_delivered[vk] = false;
    g_pressTaken[vk] = true;
}

std::optional<MSG> TakeInputMessage() {
    InputEvent ev;
    {
        WindowGuard guard(WindowLock());
        if (Events().empty()) return std::nullopt;
        ev = Events().front();
        Events().pop_front();
        if (EndsTakenPress(ev)) return std::nullopt;
    }
    if (ev.isKey) {
        if (RunKeyboardHooks(ev.vk, ev.down, static_cast<DWORD>(ClockNowMs()))) return std::nullopt;
        return RouteKey(ev);
    }
    return RouteTouch(ev);
}

HWND WindowFromPoint(POINT point) {
    HWND top = nullptr;
    {
        WindowGuard guard(WindowLock());
        for (Window* w : Desktop()->children) {
            if ((w->style & WS_VISIBLE) && CoversPoint(w, point)) {
                top = w->handle;
                break;
            }
        }
    }
    if (top == nullptr || !IsWindowEnabled(top)) return top;
    return DescendTo(top, point);
}

HWND ChildWindowFromPoint(HWND parent, POINT point) {
    WindowGuard guard(WindowLock());
    Window* w = WindowFromHandle(parent);
    if (w == nullptr) return nullptr;
    RECT client = ClientRectOf(w);
    if (!PtInRect(&client, point)) return nullptr;
    for (Window* child : w->children) {
        if (PtInRect(&child->rect, point)) return child->handle;
    }
    return parent;
}

BOOL TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
    WindowGuard guard(WindowLock());
    const DWORD kinds = track->dwFlags & (TME_HOVER | TME_LEAVE);
    if (track->dwFlags & TME_CANCEL) {
        if (g_tracking.hwnd == track->hwndTrack) g_tracking.flags &= ~kinds;
        if (g_tracking.flags == 0) g_tracking = Tracking{};
        return TRUE;
    }
    Window* w = WindowFromHandle(track->hwndTrack);
    if (w == nullptr) return FALSE;
    DWORD hover = track->dwHoverTime == HOVER_DEFAULT ? kDefaultHoverMs : track->dwHoverTime;
    g_tracking = Tracking{track->hwndTrack, kinds, hover, ClockNowMs()};
    // Asked while the finger is already elsewhere: the leave is due at once.
    if ((kinds & TME_LEAVE) && !CoversPoint(w, g_cursor)) {
        PostMessageW(track->hwndTrack, WM_MOUSELEAVE, 0, 0);
        g_tracking = Tracking{};
    }
    return TRUE;
}

void ForgetMouseTracking(HWND hwnd) {
    if (g_tracking.hwnd == hwnd) g_tracking = Tracking{};
}

void keybd_event(BYTE vk, BYTE, DWORD flags, ULONG_PTR) { InjectKey(vk, (flags & KEYEVENTF_KEYUP) == 0); }

void mouse_event(DWORD flags, DWORD x, DWORD y, DWORD, ULONG_PTR) {
    POINT pt;
    {
        WindowGuard guard(WindowLock());
        if (flags & MOUSEEVENTF_ABSOLUTE) {
            pt = POINT{static_cast<LONG>(x * kScreenWidth / 65536), static_cast<LONG>(y * kScreenHeight / 65536)};
        } else {
            pt = POINT{g_cursor.x + static_cast<LONG>(static_cast<int32_t>(x)),
                       g_cursor.y + static_cast<LONG>(static_cast<int32_t>(y))};
        }
    }
    if (flags & MOUSEEVENTF_MOVE) InjectTouch(pt, TouchAction::Move);
    if (flags & MOUSEEVENTF_LEFTDOWN) InjectTouch(pt, TouchAction::Down);
    if (flags & MOUSEEVENTF_LEFTUP) InjectTouch(pt, TouchAction::Up);
}

UINT MapVirtualKeyW(UINT code, UINT mapType) {
    // Scan codes of a PC keyboard for the keypad's keys.
    static constexpr struct {
        UINT vk;
        UINT scan;
        UINT ch;
    } kKeys[] = {
        {'0', 0x0B, '0'}, {'1', 0x02, '1'}, {'2', 0x03, '2'}, {'3', 0x04, '3'}, {'4', 0x05, '4'},
        {'5', 0x06, '5'}, {'6', 0x07, '6'}, {'7', 0x08, '7'}, {'8', 0x09, '8'}, {'9', 0x0A, '9'},
        {VK_BACK, 0x0E, 8}, {VK_TAB, 0x0F, 9}, {VK_RETURN, 0x1C, 13}, {VK_ESCAPE, 0x01, 27},
        {VK_SPACE, 0x39, ' '}, {VK_MENU, 0x38, 0}, {VK_SHIFT, 0x2A, 0}, {VK_CONTROL, 0x1D, 0},
        {VK_LEFT, 0x4B, 0}, {VK_UP, 0x48, 0}, {VK_RIGHT, 0x4D, 0}, {VK_DOWN, 0x50, 0},
        {VK_KEYPAD_STAR, 0x37, '*'}, {VK_KEYPAD_HASH, 0x4F, '#'}, {VK_OEM_PERIOD, 0x34, '.'},
        {VK_F1, 0x3B, 0}, {VK_F2, 0x3C, 0}, {VK_F3, 0x3D, 0}, {VK_F4, 0x3E, 0}, {VK_F5, 0x3F, 0},
        {VK_F6, 0x40, 0}, {VK_F7, 0x41, 0}, {VK_F8, 0x42, 0}, {VK_F9, 0x43, 0}, {VK_F10, 0x44, 0},
        {VK_F11, 0x57, 0}, {VK_F12, 0x58, 0},
    };
    for (const auto& key : kKeys) {
        if (mapType == MAPVK_VK_TO_VSC && key.vk == code) return key.scan;
        if (mapType == MAPVK_VSC_TO_VK && key.scan == code) return key.vk;
        if (mapType == MAPVK_VK_TO_CHAR && key.vk == code) return key.ch;
    }
    return 0;
}

UINT MapVirtualKey(UINT code, UINT mapType) { return MapVirtualKeyW(code, mapType); }

SHORT GetKeyState(int vk) {
    WindowGuard guard(WindowLock());
    return (vk >= 0 && vk < 256 && g_delivered[vk]) ? static_cast<SHORT>(0x8000) : 0;
}

SHORT GetAsyncKeyState(int vk) {
    WindowGuard guard(WindowLock());
    return (vk >= 0 && vk < 256 && g_injected[vk]) ? static_cast<SHORT>(0x8000) : 0;
}

BOOL SetCursorPos(int x, int y) {
    WindowGuard guard(WindowLock());
    g_cursor = ClipToScreen(POINT{x, y});
    return TRUE;
}

BOOL GetCursorPos(LPPOINT point) {
    if (point == nullptr) return FALSE;
    WindowGuard guard(WindowLock());
    *point = g_cursor;
    return TRUE;
}

int ShowCursor(BOOL show) {
    WindowGuard guard(WindowLock());
    g_cursorShown += show ? 1 : -1;
    return g_cursorShown;
}
