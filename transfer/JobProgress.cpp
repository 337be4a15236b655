#include "transfer/JobProgress.h"

#include <algorithm>

#include "transfer/TransferLoop.h"

CJobProgress::CJobProgress(CTransferLoop& loop, ULONGLONG whole) : m_loop(loop), m_whole(whole) {
    m_loop.Begin(false);
}

std::function<void(ULONGLONG, ULONGLONG)> CJobProgress::Step(ULONGLONG bytes) {
    const ULONGLONG start = std::max(m_done, m_stepEnd);
    m_done = start;
    m_stepEnd = start + bytes;
    return [this, start, bytes](ULONGLONG done, ULONGLONG total) {
        // In floating point: a check counts its work in instructions, which
        // times the bytes of a large copy would overflow.
        const long double part = total == 0 ? 0.0L : static_cast<long double>(std::min(done, total)) / total;
        m_done = std::max(m_done, start + static_cast<ULONGLONG>(part * bytes));
        m_loop.Show(m_done, m_whole);
        m_loop.FeedWhenDue();
    };
}
