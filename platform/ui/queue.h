// The message queue of a thread: messages sent to it from other threads,
// posted messages, and the wake-up that blocked GetMessage calls wait for.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "platform/base/types.h"
#include "platform/ui/messages.h"

struct SentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
};

struct QueuedMessage {
    MSG msg;
    uint64_t sequence;  // shared with the input queue: posted and input stay in order
};

struct ThreadQueue {
    std::deque<QueuedMessage> posted;
    std::deque<std::shared_ptr<SentMessage>> sent;
    bool quitPosted = false;
    int quitCode = 0;
    MSG lastMessage{};
};

// The calling thread's queue, made on first use (caller holds WindowLock).
ThreadQueue* CurrentQueue();
// False once the thread that owned the queue has ended.
bool QueueAlive(const ThreadQueue* queue);
uint64_t NextMessageSequence();

// Wakes every thread waiting for messages (caller may hold WindowLock).
void WakeAllQueues();

// Runs when the calling thread's GetMessage finds nothing to do, before it
// blocks: the script driver executes its next command there. Returns true
// when it did something (the queue is looked at again at once).
using IdleHook = std::function<bool()>;
void SetIdleHook(IdleHook hook);
// True while the calling thread has an idle hook (a script runs on it).
bool HasIdleHook();

// True while a WM_QUIT waits in the calling thread's queue.
bool QuitPostedOnThisThread();

// Delivers the messages sent to the calling thread by other threads.
void DispatchIncomingSends();
