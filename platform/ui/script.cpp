#include "platform/ui/script.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/base/clock.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/display.h"
#include "platform/ui/imagefile.h"
#include "platform/ui/input.h"
#include "platform/ui/queue.h"
#include "platform/ui/timer.h"
#include "platform/ui/window.h"

namespace {

std::map<std::string, ScriptDriver::Handler>& Handlers() {
    static std::map<std::string, ScriptDriver::Handler> handlers;
    return handlers;
}

std::mutex g_handlersLock;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool ParseNumber(const std::string& text, long long low, long long high, long long* value) {
    if (text.empty()) return false;
    size_t used = 0;
    long long parsed;
    try {
        parsed = std::stoll(text, &used, 10);
    } catch (...) {
        return false;
    }
    if (used != text.size() || parsed < low || parsed > high) return false;
    *value = parsed;
    return true;
}

void NoOpTimer(HWND, UINT, UINT_PTR, DWORD) {}

bool Fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

struct ShowingBox {
    const WaitingMessageBox* owner;
    std::string text;
    std::function<void(int)> answer;
};

std::mutex g_boxesLock;
std::vector<ShowingBox>& ShowingBoxes() {
    static std::vector<ShowingBox> boxes;
    return boxes;
}

// How the script's place reaches the program that replaces this one.
constexpr char kNextLineVariable[] = "QUILLON_SCRIPT_NEXT_LINE";
// Long enough for the simulated controller to restart the program on a
// busy machine, where its thread may wait seconds for the frame: a script
// that went on meanwhile would take lines the restarted program then skips.
// A terminal whose controller does not restart it goes on after this.
constexpr auto kRestartGrace = std::chrono::seconds(10);

// The number of lines taken by the script running on the user-interface
// thread; -1 while none runs. Read by the thread that restarts the program.
std::atomic<long long> g_linesTaken{-1};
std::atomic<std::chrono::steady_clock::rep> g_holdUntil{0};

bool HeldForRestart() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    if (now < g_holdUntil.load()) return true;
    g_holdUntil = 0;
    return false;
}

std::atomic<bool> g_scriptFailed{false};

void FailScript(const std::string& why) {
    std::fprintf(stderr, "script %s\n", why.c_str());
    g_scriptFailed = true;
    SetIdleHook(nullptr);
    g_linesTaken = -1;
    PostQuitMessage(2);
}

struct IdleScript {
    std::vector<std::string> lines;
    size_t next = 0;
    ScriptDriver driver;
};

// The line a restarted program goes on with, taken once: a later restart
// hands on its own place.
size_t TakeNextLineFromRestart() {
    const char* value = std::getenv(kNextLineVariable);
    const size_t next = value ? std::strtoull(value, nullptr, 10) : 0;
    unsetenv(kNextLineVariable);
    return next;
}

}  // namespace

void ScriptDriver::RegisterCommand(const std::string& name, Handler handler) {
    std::lock_guard<std::mutex> guard(g_handlersLock);
    Handlers()[name] = std::move(handler);
}

BYTE ScriptDriver::KeyCode(const std::string& name) {
    static const std::map<std::string, BYTE> kNames = {
        {"ESC", VK_ESCAPE}, {"ENTER", VK_RETURN}, {"UP", VK_UP},       {"DOWN", VK_DOWN},
        {"LEFT", VK_LEFT},  {"RIGHT", VK_RIGHT},  {"BACK", VK_BACK},   {"MENU", VK_MENU},
        {"STAR", VK_KEYPAD_STAR}, {"HASH", VK_KEYPAD_HASH},
    };
    auto it = kNames.find(name);
    if (it != kNames.end()) return it->second;
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') return static_cast<BYTE>(name[0]);
    long long f = 0;
    if (name.size() >= 2 && name[0] == 'F' && ParseNumber(name.substr(1), 1, 12, &f))
        return static_cast<BYTE>(VK_F1 + f - 1);
    return 0;
}

bool ScriptDriver::Execute(const std::string& line, std::string* error) {
    std::vector<std::string> words = Words(line);
    if (words.empty() || words[0][0] == '#') return true;
    const std::string& command = words[0];
    std::vector<std::string> args(words.begin() + 1, words.end());
    long long x = 0, y = 0;
    if (command == "tap") {
        if (args.size() != 2 || !ParseNumber(args[0], 0, kScreenWidth - 1, &x) ||
            !ParseNumber(args[1], 0, kScreenHeight - 1, &y))
            return Fail(error, "tap needs X (0-319) and Y (0-239)");
        POINT pt{static_cast<LONG>(x), static_cast<LONG>(y)};
        InjectTouch(pt, TouchAction::Down);
        InjectTouch(pt, TouchAction::Up);
        return true;
    }
    if (command == "key" || command == "keydown" || command == "keyup") {
        BYTE vk = args.size() == 1 ? KeyCode(args[0]) : 0;
        if (vk == 0) return Fail(error, command + " needs a key name (ESC ENTER UP DOWN LEFT RIGHT BACK F1-F12 MENU 0-9 STAR HASH)");
        if (command != "keyup") InjectKey(vk, true);
        if (command != "keydown") InjectKey(vk, false);
        return true;
    }
    if (command == "wait") {
        if (args.size() != 1 || !ParseNumber(args[0], 0, 24LL * 3600 * 1000, &x))
            return Fail(error, "wait needs a number of milliseconds");
        m_waitUntil = ClockNowMs() + static_cast<uint64_t>(x);
        m_waiting = true;
        return true;
    }
    if (command == "shot") {
        if (args.size() != 1) return Fail(error, "shot needs a file name");
        if (!SaveSurfacePng(ScreenSurface(), args[0])) return Fail(error, "cannot write " + args[0]);
        return true;
    }
    if (command == "quit") {
        if (!args.empty()) return Fail(error, "quit takes no arguments");
        m_quit = true;
        return true;
    }
    Handler handler;
    {
        std::lock_guard<std::mutex> guard(g_handlersLock);
        auto it = Handlers().find(command);
        if (it != Handlers().end()) handler = it->second;
    }
    if (!handler) return Fail(error, "unknown command '" + command + "'");
    return handler(args, error);
}

bool ScriptDriver::Waiting() {
    if (!m_waiting) return false;
    uint64_t now = ClockNowMs();
    if (now >= m_waitUntil) {
        m_waiting = false;
        if (m_wakeTimer != 0) KillTimer(nullptr, m_wakeTimer);
        m_wakeTimer = 0;
        return false;
    }
    if (IsVirtualClock()) {
        uint64_t due;
        {
            WindowGuard guard(WindowLock());
            due = NextTimerDue(CurrentQueue());
        }
        AdvanceVirtualClockTo(std::min(due, m_waitUntil));
    } else {
        // A thread timer wakes the loop when the wait is over.
        m_wakeTimer = SetTimer(nullptr, m_wakeTimer, static_cast<UINT>(m_waitUntil - now), NoOpTimer);
    }
    return true;
}

void ScriptDriver::PumpUntilIdle() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        CWinApp* app = AfxGetApp();
        BOOL consumed = app ? app->PreTranslateMessage(&msg) : CWnd::WalkPreTranslateTree(nullptr, &msg);
        if (!consumed) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

void RunScriptWhenIdle(std::vector<std::string> lines, bool quitAtEnd, size_t firstLine) {
    auto script = std::make_shared<IdleScript>();
    script->lines = std::move(lines);
    script->next = firstLine;
    g_linesTaken = static_cast<long long>(firstLine);
    if (IsVirtualClock()) TakeVirtualClockOwnership();
    SetIdleHook([script, quitAtEnd]() {
        if (HeldForRestart()) {
            // Real time passes here: the restart comes from another thread.
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            return true;
        }
        if (script->driver.Waiting()) return IsVirtualClock();
        if (script->driver.QuitRequested() || script->next >= script->lines.size()) {
            const bool quit = quitAtEnd || script->driver.QuitRequested();
            const std::string waiting = ShowingMessageBoxText();
            if (quit && !waiting.empty()) {
                FailScript("ended while the message box \"" + waiting + "\" waited for an answer");
                return true;
            }
            SetIdleHook(nullptr);
            g_linesTaken = -1;
            if (quit) PostQuitMessage(0);
            return true;
        }
        size_t number = script->next++;
        g_linesTaken = static_cast<long long>(script->next);
        std::string error;
        if (!script->driver.Execute(script->lines[number], &error))
            FailScript("line " + std::to_string(number + 1) + ": " + error);
        return true;
    });
}

bool RunScriptFileWhenIdle(const std::string& hostPath, bool quitAtEnd) {
    std::ifstream in(hostPath);
    if (!in) return false;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    RunScriptWhenIdle(std::move(lines), quitAtEnd, TakeNextLineFromRestart());
    return true;
}

void HoldScriptForRestart() {
    if (g_linesTaken.load() < 0) return;
    g_holdUntil = (std::chrono::steady_clock::now() + kRestartGrace).time_since_epoch().count();
}

void HandScriptPlaceToRestart() {
    const long long taken = g_linesTaken.load();
    if (taken >= 0) setenv(kNextLineVariable, std::to_string(taken).c_str(), 1);
}

bool ScriptRunsOnThisThread() { return HasIdleHook(); }

bool ScriptFailed() { return g_scriptFailed; }

WaitingMessageBox::WaitingMessageBox(std::string text, std::function<void(int)> answer) {
    std::lock_guard<std::mutex> guard(g_boxesLock);
    ShowingBoxes().push_back({this, std::move(text), std::move(answer)});
}

WaitingMessageBox::~WaitingMessageBox() {
    std::lock_guard<std::mutex> guard(g_boxesLock);
    std::erase_if(ShowingBoxes(), [this](const ShowingBox& box) { return box.owner == this; });
}

std::string ShowingMessageBoxText() {
    std::lock_guard<std::mutex> guard(g_boxesLock);
    return ShowingBoxes().empty() ? std::string() : ShowingBoxes().back().text;
}

bool AnswerShowingMessageBox(int answer) {
    std::function<void(int)> handler;
    {
        std::lock_guard<std::mutex> guard(g_boxesLock);
        if (ShowingBoxes().empty()) return false;
        handler = ShowingBoxes().back().answer;
    }
    handler(answer);
    return true;
}
