// Debugger output, memory status, and the journal of side effects.
//
// OutputDebugString goes to standard error (as UTF-8) when the environment
// variable QUILLON_DEBUG_OUTPUT is set to a non-empty value other than "0",
// or after SetDebugOutputToStderr(true) (the program's --debug-output
// option); otherwise nowhere. Either way it is also written to the journal
// as kind "debug", so that tests can read what the program told the debugger.
//
// The journal records what the terminal did to the world outside the screen
// (a program launched through the shell, a sound played, a message box shown,
// debugger output): other layers write entries, tests and scripts read them.
// It is safe from every thread and keeps the latest 10000 entries.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/types.h"

void OutputDebugStringW(LPCWSTR text);
inline void OutputDebugString(LPCWSTR text) {
    OutputDebugStringW(text);
}
void SetDebugOutputToStderr(bool on);

struct MEMORYSTATUS {
    DWORD dwLength;
    DWORD dwMemoryLoad;  // percent of physical memory in use
    DWORD dwTotalPhys;
    DWORD dwAvailPhys;
    DWORD dwTotalPageFile;
    DWORD dwAvailPageFile;
    DWORD dwTotalVirtual;
    DWORD dwAvailVirtual;
};
typedef MEMORYSTATUS* LPMEMORYSTATUS;

// Physical figures come from /proc/meminfo, the page file from its swap
// lines; the virtual figures describe a 2 GB address space of which the
// process's own size is in use. Byte counts above 4 GB read 0xFFFFFFFF.
void GlobalMemoryStatus(LPMEMORYSTATUS status);
// For tests: called with the figures just read, before they are handed out,
// so that a test can stand in for a device short of memory.
void SetMemoryStatusHook(void (*hook)(LPMEMORYSTATUS status));

// Kinds written by the layers.
inline constexpr char kJournalShell[] = "shell";
inline constexpr char kJournalSound[] = "sound";
inline constexpr char kJournalMessageBox[] = "messagebox";
inline constexpr char kJournalDebug[] = "debug";

struct JournalEntry {
    uint64_t sequence;  // 1, 2, 3 ... in writing order; never reused
    std::string kind;
    std::u16string text;
    uint64_t clockMs;  // ClockNowMs() when written
};

// Returns the entry's sequence number.
uint64_t JournalWrite(std::string_view kind, std::u16string_view text);
// Entries after `afterSequence`, of `kind` (every kind when empty).
std::vector<JournalEntry> JournalRead(std::string_view kind = {}, uint64_t afterSequence = 0);
// The last sequence number handed out (0 before the first entry).
uint64_t JournalLastSequence();
void JournalClear();
// Waits for the first entry of `kind` (any when empty) after `afterSequence`,
// for up to timeoutMs with the time-out rules of the kernel waits
// (platform/base/clock.h).
std::optional<JournalEntry> JournalWaitFor(std::string_view kind, uint64_t afterSequence, DWORD timeoutMs);
