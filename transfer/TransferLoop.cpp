#include "transfer/TransferLoop.h"

#include <algorithm>
#include <atomic>

#include "platform/base/clock.h"
#include "platform/ui/longwork.h"
#include "transfer/Watchdog.h"
#include "widgets/PogressBar.h"

namespace {

std::atomic<DWORD> g_recordPauseMs{5};

}  // namespace

CTransferLoop::CTransferLoop(CPogressBar* bar) : m_bar(bar) {}

void CTransferLoop::Begin(bool showZero) {
    m_shown = 0;
    if (showZero) ShowPercent(0);
    m_watchdog.Start(false);
}

UINT CTransferLoop::Percent(ULONGLONG done, ULONGLONG total) {
    if (total == 0) return 0;
    return static_cast<UINT>(std::min<ULONGLONG>(done, total) * 100 / total);
}

bool CTransferLoop::Show(ULONGLONG done, ULONGLONG total) {
    const UINT percent = Percent(done, total);
    if (percent == m_shown) return false;
    ShowPercent(percent);
    return true;
}

void CTransferLoop::Finish() {
    if (m_shown != 100) ShowPercent(100);
}

void CTransferLoop::Fail() { ShowPercent(0); }

void CTransferLoop::ShowPercent(UINT percent) {
    m_shown = percent;
    if (m_bar == nullptr || m_bar->GetSafeHwnd() == nullptr) return;
    m_bar->SetPos(percent);
    // The loop does not go back to the message loop before it ends: the
    // bar is painted now, or it would stand still until then.
    m_bar->UpdateWindow();
}

void CTransferLoop::FeedWhenDue() {
    LongWorkStep();
    m_watchdog.FeedWhenDue();
}

std::function<void(ULONGLONG, ULONGLONG)> CTransferLoop::Progress() {
    return [this](ULONGLONG done, ULONGLONG total) {
        Show(done, total);
        FeedWhenDue();
    };
}

void CTransferLoop::Pause() const {
    if (const DWORD ms = g_recordPauseMs.load()) Sleep(ms);
}

void CTransferLoop::SetRecordPause(DWORD ms) { g_recordPauseMs = ms; }
