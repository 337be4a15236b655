#include "comm/CommLink.h"

#include "comm/LinkRestart.h"
#include "platform/base/debug.h"

CCommLink* g_pLink = nullptr;

std::recursive_mutex& LinkLock() {
    static std::recursive_mutex lock;
    return lock;
}

int CCommLink::QueueFrame(const BYTE* frame, int length) {
    if (length < 0 || length >= kPendingFrameBytes) return 0;
    std::lock_guard<std::mutex> guard(m_pendingLock);
    if (m_pending.size() == kPendingFrames) m_pending.pop_front();
    m_pending.emplace_back(frame, frame + length);
    return 1;
}

void CCommLink::SendPending() {
    for (;;) {
        std::vector<BYTE> frame;
        {
            std::lock_guard<std::mutex> guard(m_pendingLock);
            if (m_pending.empty()) return;
            frame = std::move(m_pending.front());
            m_pending.pop_front();
        }
        Write(frame.data(), static_cast<int>(frame.size()));
    }
}

size_t CCommLink::PendingCount() {
    std::lock_guard<std::mutex> guard(m_pendingLock);
    return m_pending.size();
}

int SetLinkRealtimeFrame(CCommLink* link, const BYTE* frame, int length) {
    OutputDebugStringW(u"SetReadTime\r\n");
    return link ? link->QueueFrame(frame, length) : 0;
}

void RequestLinkRestart(void* /*window*/) {
    std::lock_guard<std::recursive_mutex> guard(LinkLock());
    if (g_pLink) g_pLink->m_stop = 1;
}
