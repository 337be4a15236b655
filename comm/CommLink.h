// A communication link to the management software, and the one that is
// active. Frames handed to the link for sending (the real-time records)
// wait in a small queue and go out in order on the link's next turn.
#pragma once

#include <atomic>
#include <deque>
#include <mutex>
#include <vector>

#include "platform/base/types.h"

class CCommLink {
public:
    static constexpr int kPendingFrameBytes = 400;
    static constexpr size_t kPendingFrames = 16;

    CCommLink() = default;
    virtual ~CCommLink() = default;
    CCommLink(const CCommLink&) = delete;
    CCommLink& operator=(const CCommLink&) = delete;

    virtual BOOL Open() = 0;
    // Bytes read into the buffer (0 when none came in the link's time-out).
    virtual int Read(BYTE* buffer, int size) = 0;
    // 1 when every byte went out.
    virtual int Write(const BYTE* data, int length) = 0;
    virtual void ReadDelay() {}
    virtual void WriteDelay() {}
    virtual DWORD TimeOut() const { return 100; }
    virtual void Close() = 0;
    virtual void Heartbeat() {}

    // Queues a frame of fewer than 400 bytes; 0 for a longer one. When the
    // queue is full the oldest waiting frame is dropped.
    int QueueFrame(const BYTE* frame, int length);
    // Writes every queued frame, oldest first.
    void SendPending();
    size_t PendingCount();

    // Set to 1 to make the communication thread rebuild the link.
    std::atomic<int> m_stop{0};

private:
    std::mutex m_pendingLock;
    std::deque<std::vector<BYTE>> m_pending;
};

// The active link, null while none exists. Hold LinkLock() while using it
// from another thread: the communication thread replaces it under that lock.
extern CCommLink* g_pLink;
std::recursive_mutex& LinkLock();

// Hands a frame to a link (the real-time record frame); 1 when queued.
int SetLinkRealtimeFrame(CCommLink* link, const BYTE* frame, int length);
