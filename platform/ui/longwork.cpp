#include "platform/ui/longwork.h"

#include <array>
#include <atomic>
#include <chrono>
#include <mutex>
#include <utility>

#include "platform/base/threads.h"
#include "platform/ui/display.h"
#include "platform/ui/queue.h"

namespace {

// Often enough for the window to answer its window manager and for a close
// to be seen at once; seldom enough to cost the work nothing.
constexpr auto kLookInterval = std::chrono::milliseconds(20);

// The thread in long work, 0 when none is.
std::atomic<DWORD> g_workingThread{0};
std::chrono::steady_clock::time_point g_lastLook;  // on the working thread
std::function<void()> g_endHandler;

// Which presses were dropped, so that their releases are too, and which
// keys were delivered down, so that their repeats are dropped without
// losing their releases.
std::mutex g_keysLock;
std::array<bool, 256> g_droppedPress{};
std::array<bool, 256> g_deliveredDown{};
bool g_touchDropped = false;

bool EndAsked() { return DisplayQuitRequested() || QuitPostedOnThisThread(); }

thread_local CLongWorkEndNote* t_endNote = nullptr;

}  // namespace

bool LongWorkLook() {
    const DWORD thread = GetCurrentThreadId();
    if (g_workingThread.exchange(thread) != thread) g_lastLook = {};
    const auto now = std::chrono::steady_clock::now();
    if (now - g_lastLook >= kLookInterval) {
        g_lastLook = now;
        DisplayIdle();
    }
    return g_endHandler && EndAsked();
}

void LongWorkStep() {
    if (LongWorkLook()) g_endHandler();
}

CLongWorkEndNote::CLongWorkEndNote(std::function<void()> note) : m_outer(t_endNote), m_note(std::move(note)) {
    t_endNote = this;
}

CLongWorkEndNote::~CLongWorkEndNote() { t_endNote = m_outer; }

void WriteLongWorkEndNote() {
    if (t_endNote == nullptr || !t_endNote->m_note) return;
    std::exchange(t_endNote->m_note, nullptr)();
}

void LongWorkOver() {
    if (g_workingThread.load() != GetCurrentThreadId()) return;
    // What the window's events hold came during the work: taken in (and
    // dropped) before the work is over.
    DisplayIdle();
    g_workingThread = 0;
}

bool InLongWork() { return g_workingThread.load() != 0; }

void SetLongWorkEndHandler(std::function<void()> handler) { g_endHandler = std::move(handler); }

bool DropKeyOfLongWork(BYTE vk, bool down) {
    std::lock_guard<std::mutex> guard(g_keysLock);
    if (!down) {
        g_deliveredDown[vk] = false;
        return std::exchange(g_droppedPress[vk], false);
    }
    // Until its release, a down of a dropped key is its auto-repeat, also
    // once the work is over: delivered, it would be taken for a new press
    // and answer the notice of the work's result unseen.
    if (g_droppedPress[vk]) return true;
    if (!InLongWork()) {
        g_deliveredDown[vk] = true;
        return false;
    }
    // A key held down since before the work repeats: the repeat goes, its
    // release stays.
    if (!g_deliveredDown[vk]) g_droppedPress[vk] = true;
    return true;
}

bool DropTouchOfLongWork(TouchAction action) {
    std::lock_guard<std::mutex> guard(g_keysLock);
    if (action == TouchAction::Down) g_touchDropped = InLongWork();
    const bool drop = g_touchDropped;
    if (action == TouchAction::Up) g_touchDropped = false;
    return drop;
}
