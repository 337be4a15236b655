// The rules every long per-record loop of the transfer and maintenance pages
// keeps while it holds the user-interface thread: the progress bar shown
// and repainted whenever the whole percentage changes, the I/O controller's
// watchdog fed whenever more than 5000 ms have passed since the last feed
// (the main screen's timer cannot feed it meanwhile), and a short pause per
// record.
#pragma once

#include <functional>

#include "platform/base/types.h"
#include "transfer/Watchdog.h"

class CPogressBar;

class CTransferLoop {
public:
    // `bar` may be null: the loop then only keeps time.
    explicit CTransferLoop(CPogressBar* bar);

    // Before the first record: the last shown percentage is 0 (shown when
    // `showZero`), and the last feed is now.
    void Begin(bool showZero);
    // Shows done x 100 / total when it differs from the last shown value.
    // True when it changed.
    bool Show(ULONGLONG done, ULONGLONG total);
    // The loop ran to its end: 100.
    void Finish();
    // The work failed: the bar goes back to empty, so that no failure is
    // left showing as done.
    void Fail();
    // Feeds the watchdog when more than 5000 ms have passed since the last
    // feed. The window is kept answering too: the work is long work
    // (platform/ui/longwork.h), and an end asked for meanwhile ends the
    // terminal here.
    void FeedWhenDue();
    // The pause after each record.
    void Pause() const;
    // For work that tells its own progress (a check, a database copy):
    // each report shown, and the watchdog fed when due.
    std::function<void(ULONGLONG done, ULONGLONG total)> Progress();

    // The percentage of done in total, 0-100; 0 while the total is 0.
    static UINT Percent(ULONGLONG done, ULONGLONG total);
    // The pause per record in milliseconds (5). Benchmarks switch it off
    // to measure the work itself.
    static void SetRecordPause(DWORD ms);

private:
    void ShowPercent(UINT percent);

    CPogressBar* m_bar;
    UINT m_shown = 0;
    CWatchdogFeeder m_watchdog;
};
