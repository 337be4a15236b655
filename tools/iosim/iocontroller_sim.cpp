#include "tools/iosim/iocontroller_sim.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/base/threads.h"
#include "platform/base/utf.h"
#include "platform/dev/ioframes.h"
#include "platform/dev/serial.h"

namespace {

constexpr char kJournalKind[] = "iocontroller";
constexpr int kPollMs = 50;
constexpr int kSendPatienceMs = 1000;

std::string Hex(const uint8_t* bytes, size_t count) {
    std::string text;
    char part[4];
    for (size_t i = 0; i < count; ++i) {
        std::snprintf(part, sizeof part, i ? " %02X" : "%02X", bytes[i]);
        text += part;
    }
    return text;
}

void Journal(const std::string& text) {
    JournalWrite(kJournalKind, Utf8ToUtf16(text));
}

bool IsHexDigit(char ch) {
    return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F') || (ch >= 'a' && ch <= 'f');
}

}  // namespace

IoControllerSim::IoControllerSim() = default;

IoControllerSim::~IoControllerSim() {
    Stop();
}

bool IoControllerSim::Start() {
    if (m_thread.joinable()) return true;
    if (!m_pty.Open()) return false;
    m_stop = false;
    if (StartHostThread(m_thread, RunThread, this)) return true;
    m_pty.CloseController();
    return false;
}

void IoControllerSim::RunThread(void* simulator) { static_cast<IoControllerSim*>(simulator)->Run(); }

void IoControllerSim::Stop() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    m_pty.CloseController();
}

void IoControllerSim::AttachToPort(const std::u16string& port) {
    MapSerialPort(port, m_pty.TerminalPath());
}

IoControllerState IoControllerSim::State() const {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_state;
}

void IoControllerSim::SetRestartHook(std::function<void()> hook) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_restartHook = std::move(hook);
}

void IoControllerSim::SetVersion(uint8_t major, uint8_t minor) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_version[0] = major;
    m_version[1] = minor;
}

void IoControllerSim::Run() {
    std::vector<uint8_t> pending;
    while (!m_stop) {
        pollfd pfd{m_pty.ControllerFd(), POLLIN, 0};
        const int ready = ::poll(&pfd, 1, kPollMs);
        if (ready > 0 && (pfd.revents & POLLIN)) {
            uint8_t chunk[256];
            const ssize_t n = ::read(m_pty.ControllerFd(), chunk, sizeof chunk);
            if (n > 0) {
                pending.insert(pending.end(), chunk, chunk + n);
                Consume(&pending);
            }
        }
        CheckWatchdog();
    }
}

// Frames are four bytes with the code first and last; bytes that do not
// start one are dropped one at a time until the line is in step again.
void IoControllerSim::Consume(std::vector<uint8_t>* pending) {
    size_t at = 0;
    while (pending->size() - at >= kIoFrameSize) {
        const uint8_t* frame = pending->data() + at;
        if (frame[0] != frame[3] || frame[0] < 0xF0) {
            Journal("dropped stray byte " + Hex(frame, 1));
            ++at;
            continue;
        }
        Answer(frame);
        at += kIoFrameSize;
    }
    pending->erase(pending->begin(), pending->begin() + static_cast<std::ptrdiff_t>(at));
}

void IoControllerSim::Answer(const uint8_t* frame) {
    const uint8_t code = frame[0];
    const uint8_t value = frame[1];
    const uint64_t now = ClockNowMs();
    std::string effect;
    std::vector<uint8_t> reply(frame, frame + kIoFrameSize);
    std::function<void()> restart;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        ++m_state.commands;
        switch (code) {
            case kIoVersionRequest:
                ++m_state.versionRequests;
                reply = {kIoVersion, m_version[0], m_version[1], kIoVersion};
                effect = "version asked";
                break;
            case kIoDoorLock:
                m_state.doorOpenUntilMs = now + IoRelayMilliseconds(value);
                effect = "door unlocked for " + std::to_string(IoRelayMilliseconds(value)) + " ms";
                break;
            case kIoBell:
                m_state.bellUntilMs = now + IoRelayMilliseconds(value);
                effect = "bell rings for " + std::to_string(IoRelayMilliseconds(value)) + " ms";
                break;
            case kIoTamperCommand:
            case kIoDoorSensorCommand:
                m_state.alarmCheck[code - kIoTamperCommand] = value != 0;
                effect = std::string("alarm check ") + (code == kIoTamperCommand ? "F4" : "F5") + (value ? " on" : " off");
                break;
            case kIoVerdict:
                ++(value ? m_state.passes : m_state.refusals);
                effect = value ? "pass signalled" : "refusal signalled";
                break;
            case kIoRestart:
                ++m_state.restarts;
                restart = m_restartHook;
                effect = "terminal restart";
                break;
            case kIoSupervision:
                if (value && !m_state.supervision) m_watchdogFromMs = now;
                m_state.supervision = value != 0;
                effect = value ? "supervision on" : "supervision off";
                break;
            case kIoWatchdogFeed:
                m_state.lastFeedMs = now;
                m_watchdogFromMs = now;
                ++m_state.feeds;
                effect = "watchdog fed";
                break;
            default:
                ++m_state.refused;
                reply = {kIoRefused, code, 0, kIoRefused};
                effect = "unknown command";
                break;
        }
    }
    Journal(Hex(frame, kIoFrameSize) + ": " + effect);
    Send(reply);
    if (restart) restart();
}

void IoControllerSim::CheckWatchdog() {
    const uint64_t now = ClockNowMs();
    // The report is written under the lock too: the simulator's own thread
    // checks as well, and whoever sees the count go up must find the report.
    std::lock_guard<std::mutex> lock(m_lock);
    if (!m_state.supervision || now - m_watchdogFromMs < kWatchdogPeriodMs) return;
    const uint64_t silentMs = now - (m_state.lastFeedMs ? m_state.lastFeedMs : m_watchdogFromMs);
    ++m_state.missedFeeds;
    m_watchdogFromMs = now;
    // A real controller would reset the terminal here; who feeds the watchdog
    // in normal running is not settled, so the simulator only reports it.
    Journal("watchdog missed: no feed for " + std::to_string(silentMs) + " ms");
}

bool IoControllerSim::Send(const std::vector<uint8_t>& bytes) {
    if (m_pty.ControllerFd() < 0) return false;
    std::lock_guard<std::mutex> lock(m_writeLock);
    size_t sent = 0;
    while (sent < bytes.size()) {
        pollfd pfd{m_pty.ControllerFd(), POLLOUT, 0};
        if (::poll(&pfd, 1, kSendPatienceMs) <= 0) return false;
        const ssize_t n = ::write(m_pty.ControllerFd(), bytes.data() + sent, bytes.size() - sent);
        if (n > 0) sent += static_cast<size_t>(n);
        else if (n < 0 && errno != EAGAIN && errno != EINTR) return false;
    }
    return true;
}

bool IoControllerSim::SendKey(uint8_t virtualKey, bool down) {
    return Send({kIoKey, virtualKey, static_cast<uint8_t>(down ? 1 : 0), kIoKey});
}

bool IoControllerSim::PressKey(uint8_t virtualKey) {
    return SendKey(virtualKey, true) && SendKey(virtualKey, false);
}

bool IoControllerSim::PresentCard(const std::string& hexDigits) {
    if (hexDigits.empty() || hexDigits.size() > kIoMaxCardDigits) return false;
    for (char ch : hexDigits) {
        if (!IsHexDigit(ch)) return false;
    }
    std::vector<uint8_t> frame;
    frame.reserve(hexDigits.size() + 3);
    frame.push_back(kIoCard);
    frame.push_back(static_cast<uint8_t>(hexDigits.size()));
    for (char digit : hexDigits) frame.push_back(static_cast<uint8_t>(digit));
    frame.push_back(kIoCard);
    Journal("card " + hexDigits);
    return Send(frame);
}

bool IoControllerSim::PressPowerKey() {
    return Send({kIoPowerKey, 1, 1, kIoPowerKey});
}

bool IoControllerSim::RaiseTamperAlarm() {
    return Send({kIoTamper, 1, 1, kIoTamper});
}

bool IoControllerSim::RaiseDoorSensorAlarm() {
    return Send({kIoDoorSensor, 1, 1, kIoDoorSensor});
}

bool IoControllerSim::RaiseAlarmInput(bool lockOutput) {
    return Send({kIoAlarmInput, static_cast<uint8_t>(lockOutput ? 1 : 0), 0, kIoAlarmInput});
}
