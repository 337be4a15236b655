// One bar from 0 to 100 over all the steps of one job (a backup copies the
// database and reads the copy back; a restore copies, checks and writes
// in): each step fills its own share of the bar, in proportion to the bytes
// it handles, so that the bar only moves forward. A bar that goes back
// reads as something that went wrong.
#pragma once

#include <functional>

#include "platform/base/types.h"

class CTransferLoop;

class CJobProgress {
public:
    // The job handles `whole` bytes in all its steps; the loop begins.
    CJobProgress(CTransferLoop& loop, ULONGLONG whole);

    ULONGLONG Whole() const { return m_whole; }
    // How far the job has come, for a step that shows its own bytes on the
    // loop against Whole() (a block copy) and adds them here.
    ULONGLONG& Done() { return m_done; }
    // The next step, which handles `bytes`: it begins where the job stands
    // (at the latest where the step before it ended), and its reports of
    // `done` of its own `total` fill those bytes of the bar. The watchdog
    // is fed between reports as the loop feeds it.
    std::function<void(ULONGLONG done, ULONGLONG total)> Step(ULONGLONG bytes);

private:
    CTransferLoop& m_loop;
    ULONGLONG m_whole;
    ULONGLONG m_done = 0;
    ULONGLONG m_stepEnd = 0;
};
