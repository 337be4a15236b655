// The I/O controller, simulated: it holds the controller's end of a pty,
// answers the terminal's command frames, keeps what they switched, and sends
// the frames a person or a test causes (keys, cards, the power key, alarms).
// It runs in the terminal's process (`--simulate-io`) or as the iosim
// program. Times come from the platform's clock, so virtual time drives the
// relays and the watchdog in tests.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/dev/pty.h"

struct IoControllerState {
    uint64_t doorOpenUntilMs = 0;  // clock time the door relay opens until
    uint64_t bellUntilMs = 0;
    bool alarmCheck[2] = {false, false};  // F4, F5
    int passes = 0;                        // F6 01
    int refusals = 0;                      // F6 00
    bool supervision = false;              // FB
    uint64_t lastFeedMs = 0;               // FE; 0 = never fed
    int feeds = 0;
    int missedFeeds = 0;  // watchdog periods that passed without a feed
    int restarts = 0;     // F8
    int versionRequests = 0;
    int refused = 0;  // unknown commands
    uint64_t commands = 0;

    bool DoorOpen(uint64_t nowMs) const { return nowMs < doorOpenUntilMs; }
    bool BellRinging(uint64_t nowMs) const { return nowMs < bellUntilMs; }
};

class IoControllerSim {
public:
    // Without a feed for this long, a supervising controller would reset the
    // terminal; the simulator only writes it to the journal.
    static constexpr uint64_t kWatchdogPeriodMs = 30000;

    IoControllerSim();
    ~IoControllerSim();
    IoControllerSim(const IoControllerSim&) = delete;
    IoControllerSim& operator=(const IoControllerSim&) = delete;

    // Opens the pty and starts answering; false when no pty or no thread
    // can be had.
    bool Start();
    void Stop();
    // The host device the terminal opens as its serial port.
    const std::string& TerminalPath() const { return m_pty.TerminalPath(); }
    // Maps the port (default COM3) to this simulator within the process.
    void AttachToPort(const std::u16string& port = u"COM3");

    IoControllerState State() const;
    // Called on the simulator's thread after the restart frame is answered.
    void SetRestartHook(std::function<void()> hook);
    void SetVersion(uint8_t major, uint8_t minor);

    // Frames toward the terminal; false when the frame cannot be sent (not
    // started, bad card text, the terminal's side not taking bytes).
    bool SendKey(uint8_t virtualKey, bool down);
    bool PressKey(uint8_t virtualKey);
    bool PresentCard(const std::string& hexDigits);
    bool PressPowerKey();
    bool RaiseTamperAlarm();
    bool RaiseDoorSensorAlarm();
    bool RaiseAlarmInput(bool lockOutput);

    // Journals a missed feed when supervision is on and a watchdog period
    // passed since the last feed (or since supervision began). The
    // simulator's thread calls it as it polls.
    void CheckWatchdog();

    // The simulator thread's procedure (`simulator` is the IoControllerSim).
    static void RunThread(void* simulator);

private:
    void Run();
    void Consume(std::vector<uint8_t>* pending);
    void Answer(const uint8_t* frame);
    bool Send(const std::vector<uint8_t>& bytes);

    PtyPair m_pty;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lock;  // state, hook, version
    std::mutex m_writeLock;     // one frame on the line at a time
    IoControllerState m_state;
    uint64_t m_watchdogFromMs = 0;  // start of the period being watched
    std::function<void()> m_restartHook;
    uint8_t m_version[2] = {2, 1};
};
