#include "platform/base/debug.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "platform/base/clock.h"

namespace {

TEST(Journal, KeepsEntriesInOrderAndFiltersByKind) {
    JournalClear();
    uint64_t start = JournalLastSequence();
    uint64_t first = JournalWrite(kJournalShell, u"\\Windows\\explorer.exe");
    uint64_t second = JournalWrite(kJournalSound, u"\\NandFlash\\zeta42\\wav\\ok.wav");
    OutputDebugString(u"SetReadTime\r\n");
    EXPECT_EQ(first, start + 1);
    EXPECT_EQ(second, start + 2);

    auto all = JournalRead();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].kind, kJournalShell);
    EXPECT_EQ(all[2].kind, kJournalDebug);
    EXPECT_EQ(all[2].text, u"SetReadTime\r\n");

    auto sounds = JournalRead(kJournalSound);
    ASSERT_EQ(sounds.size(), 1u);
    EXPECT_EQ(sounds[0].sequence, second);
    EXPECT_EQ(JournalRead({}, second).size(), 1u);

    JournalClear();
    EXPECT_TRUE(JournalRead().empty());
    EXPECT_GT(JournalWrite(kJournalShell, u"again"), second) << "sequence numbers are never reused";
}

TEST(Journal, WaiterWakesOnTheEntryItWaitsFor) {
    UseVirtualClock(true);
    uint64_t after = JournalLastSequence();
    std::optional<JournalEntry> seen;
    std::thread waiter([&] { seen = JournalWaitFor(kJournalMessageBox, after, INFINITE); });
    JournalWrite(kJournalSound, u"not this one");
    JournalWrite(kJournalMessageBox, u"Delete all records?");
    waiter.join();
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->text, u"Delete all records?");

    // Nothing comes: the wait ends once the virtual clock has moved an hour.
    uint64_t last = JournalLastSequence();
    std::optional<JournalEntry> none;
    std::atomic<bool> done{false};
    std::thread idle([&] {
        none = JournalWaitFor(kJournalShell, last, 3600 * 1000);
        done = true;
    });
    while (!done) {
        AdvanceVirtualClock(3600 * 1000);
        std::this_thread::yield();
    }
    idle.join();
    EXPECT_FALSE(none.has_value());
    UseVirtualClock(false);
}

TEST(MemoryStatus, ReportsConsistentFigures) {
    MEMORYSTATUS status{};
    GlobalMemoryStatus(&status);
    EXPECT_EQ(status.dwLength, sizeof(MEMORYSTATUS));
    EXPECT_GT(status.dwTotalPhys, 0u);
    EXPECT_LE(status.dwAvailPhys, status.dwTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    EXPECT_GE(status.dwTotalPageFile, status.dwTotalPhys);
    EXPECT_LE(status.dwAvailVirtual, status.dwTotalVirtual);
}

}  // namespace
