// Shared by the record ring's tests: records numbered by their user id, and
// the ids of packed records.
#pragma once

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DataTestSupport.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"

inline CheckinoutRecord NumberedRecord(int number) {
    CheckinoutRecord record;
    record.Userid.Format(u"%d", number);
    record.CheckTime.Format(u"2014-09-%02d %02d:%02d:00", 1 + number / 1440 % 28, number / 60 % 24, number % 60);
    record.CheckType = number % 8;
    record.WorkNumberAndPassType = (number % 16) << 24;
    return record;
}

// The user ids of n packed records.
inline std::vector<int> PackedIds(const BYTE* buffer, int n) {
    std::vector<int> ids;
    for (int i = 0; i < n; ++i) {
        const BYTE* r = buffer + i * PackedCheckinoutSize;
        ids.push_back((r[1] << 24) | (r[2] << 16) | (r[3] << 8) | r[4]);
    }
    return ids;
}

inline std::vector<int> Range(int first, int last) {
    std::vector<int> ids;
    for (int i = first; i <= last; ++i) ids.push_back(i);
    return ids;
}

// Every record of a window, read in batches of `batch`.
template <class First, class Next>
std::vector<int> ReadWholeWindow(int batch, First first, Next next) {
    std::vector<BYTE> buffer(PackedCheckinoutSize * batch);
    std::vector<int> ids;
    int n = 0;
    first(buffer.data(), batch, n);
    while (n > 0) {
        const std::vector<int> got = PackedIds(buffer.data(), n);
        ids.insert(ids.end(), got.begin(), got.end());
        next(buffer.data(), batch, n);
    }
    return ids;
}

inline std::vector<int> AllWindow(CRecordStore& store, int batch) {
    return ReadWholeWindow(
        batch, [&](BYTE* b, int c, int& n) { store.ReadAllFirst(b, 0, c, n); },
        [&](BYTE* b, int c, int& n) { store.ReadAllNext(b, c, n); });
}

inline std::vector<int> NewWindow(CRecordStore& store, int batch) {
    return ReadWholeWindow(
        batch, [&](BYTE* b, int c, int& n) { store.ReadNewFirst(b, c, n); },
        [&](BYTE* b, int c, int& n) { store.ReadNewNext(b, c, n); });
}

// Runs `writer` in a child process that reports, through the descriptor it
// is given, the number of each record once its add returned; kills it
// `delayUs` microseconds after its first `reportsBeforeKill` reports.
// `reported` gets the last number reported; the result is the child's wait
// status.
inline int KillWhileAdding(void (*writer)(int reportFd), int reportsBeforeKill, useconds_t delayUs, int& reported) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        writer(pipeFds[1]);
        _exit(0);
    }
    close(pipeFds[1]);
    int number = 0;
    for (int i = 0; i < reportsBeforeKill && read(pipeFds[0], &number, sizeof number) == sizeof number; ++i)
        reported = number;
    usleep(delayUs);
    if (child > 0) kill(child, SIGKILL);
    int status = -1;
    if (child > 0) waitpid(child, &status, 0);
    while (read(pipeFds[0], &number, sizeof number) == sizeof number) reported = number;
    close(pipeFds[0]);
    return status;
}
