#include "platform/base/debug.h"

#include <deque>

#include "platform/base/clock.h"

namespace {

constexpr size_t kJournalCapacity = 10000;

struct Journal {
    ClockCondition condition;
    std::deque<JournalEntry> entries;
    uint64_t lastSequence = 0;
};

Journal& TheJournal() {
    static Journal& journal = *new Journal;  // outlives detached threads
    return journal;
}

bool Matches(const JournalEntry& entry, std::string_view kind, uint64_t afterSequence) {
    return entry.sequence > afterSequence && (kind.empty() || entry.kind == kind);
}

}  // namespace

uint64_t JournalWrite(std::string_view kind, std::u16string_view text) {
    Journal& journal = TheJournal();
    uint64_t sequence;
    {
        std::lock_guard<std::mutex> lock(journal.condition.Mutex());
        sequence = ++journal.lastSequence;
        journal.entries.push_back(JournalEntry{sequence, std::string(kind), std::u16string(text), ClockNowMs()});
        if (journal.entries.size() > kJournalCapacity) journal.entries.pop_front();
    }
    journal.condition.NotifyAll();
    return sequence;
}

std::vector<JournalEntry> JournalRead(std::string_view kind, uint64_t afterSequence) {
    Journal& journal = TheJournal();
    std::lock_guard<std::mutex> lock(journal.condition.Mutex());
    std::vector<JournalEntry> found;
    for (const JournalEntry& entry : journal.entries) {
        if (Matches(entry, kind, afterSequence)) found.push_back(entry);
    }
    return found;
}

uint64_t JournalLastSequence() {
    Journal& journal = TheJournal();
    std::lock_guard<std::mutex> lock(journal.condition.Mutex());
    return journal.lastSequence;
}

void JournalClear() {
    Journal& journal = TheJournal();
    std::lock_guard<std::mutex> lock(journal.condition.Mutex());
    journal.entries.clear();
}

std::optional<JournalEntry> JournalWaitFor(std::string_view kind, uint64_t afterSequence, DWORD timeoutMs) {
    Journal& journal = TheJournal();
    std::unique_lock<std::mutex> lock(journal.condition.Mutex());
    std::optional<JournalEntry> found;
    journal.condition.WaitFor(lock, timeoutMs, [&] {
        for (const JournalEntry& entry : journal.entries) {
            if (Matches(entry, kind, afterSequence)) {
                found = entry;
                return true;
            }
        }
        return false;
    });
    return found;
}
