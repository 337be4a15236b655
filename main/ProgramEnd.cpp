#include "main/ProgramEnd.h"

#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <thread>

#include "core/ProcessExit.h"
#include "core/ThreadNotStarted.h"
#include "data/BusyTimeout.h"
#include "main/ScreenFile.h"
#include "platform/base/debug.h"
#include "platform/base/threads.h"
#include "platform/ui/display.h"
#include "platform/ui/longwork.h"

namespace {

// Enough for every modal loop to see its WM_QUIT; only a loop that never
// looks at its queue makes the terminal wait this long.
constexpr auto kUnwindTime = std::chrono::seconds(5);

std::atomic<bool> g_endRequested{false};
// Whichever thread comes second to the end waits here for the first to end
// the process.
std::mutex g_ending;

sigset_t EndSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGHUP);
    return signals;
}

}  // namespace

void RequestEnd() {
    if (g_endRequested.exchange(true)) return;
    // A statement waiting for another program gives up now: on the
    // user-interface thread its wait ends the terminal, on another the
    // statement fails without a word.
    StopWaitingForOtherPrograms();
    RequestDisplayQuit(kExitNormal);
    std::thread deadline;
    if (StartHostThread(deadline, EndAfterUnwindTime, nullptr)) {
        deadline.detach();
        return;
    }
    // Nothing would end a loop that does not unwind: the end comes now.
    ReportThreadNotStarted("end's deadline thread", "the terminal ends at once");
    EndTerminal(kExitNormal);
}

void EndDuringLongWork() {
    WriteLongWorkEndNote();
    // The work is cut between two records: a file it was writing is left
    // as it was (its temporary goes with the end), its open transaction is
    // rolled back with the database's close, and the screen file ends whole.
    ScreenFile::Flush();
    StopDisplay();
    EndTerminal(kExitNormal);
}

void WaitForEndSignals(void*) {
    const sigset_t signals = EndSignals();
    int signal = 0;
    while (sigwait(&signals, &signal) == 0) RequestEnd();
}

void EndAfterUnwindTime(void*) {
    std::this_thread::sleep_for(kUnwindTime);
    // A loop that has not unwound may be a long piece of work (an import, a
    // restore) between two steps on the database: closed under it, the
    // connection would fail its next step, with boxes during the end.
    g_ending.lock();
    EndProcessLeavingDatabase(kExitNormal);
}

void WatchEndSignals() {
    const sigset_t signals = EndSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    std::thread watcher;
    if (StartHostThread(watcher, WaitForEndSignals, nullptr)) {
        watcher.detach();
        return;
    }
    // Blocked with nobody waiting for them, the signals would be lost: they
    // end the program as they end any program.
    pthread_sigmask(SIG_UNBLOCK, &signals, nullptr);
    ReportThreadNotStarted("signal watcher thread", "a termination signal ends the terminal without closing it");
}

void EndForLostDisplay(const std::string& display) {
    std::fprintf(stderr, "quillon: the display %s has gone away (its X server ended or the connection broke); the terminal ends\n",
                 display.c_str());
    EndTerminal(kExitCannotStart);
}

void EndForCutConnection() {
    OutputDebugStringW(u"the window's connection was cut by its display's server: taken as its close");
    EndTerminal(kExitNormal);
}

void EndTerminal(int code) {
    g_ending.lock();
    EndProcess(static_cast<UINT>(code));
}
