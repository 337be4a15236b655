// What the administrator waits for on the data menu of a terminal in full
// use (100000 records, 5000 users): the record query's count and its pages,
// the last one included, and the database backup beside a plain copy of
// the same file.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/full_database.h"
#include "core/DatabaseOpen.h"
#include "data/DataGlobals.h"
#include "data/DatabaseCheck.h"
#include "data/DataLocks.h"
#include "data/FactoryDatabase.h"
#include "data/RecordStore.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "transfer/DatabaseBackup.h"
#include "transfer/TransferLoop.h"

namespace {

constexpr const char16_t* kFrom = u"2000-01-01 00:00:00";
constexpr const char16_t* kTo = u"2099-12-31 23:59:59";
constexpr int kRows = 7;

// The full database as the live file of a device root.
class FullTerminal {
public:
    FullTerminal() {
        InitDataStoreLocks();
        m_dir = std::filesystem::absolute("bench-maintenance").string();
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(std::filesystem::path(m_dir) / "NandFlash" / "zeta42" / "DB");
        SetDeviceRoot(m_dir);
        CreateFactoryDatabase(GetDatabasePath());
        OpenDatabase();
        FillFullDatabase(*g_pDatabase);
        records = std::make_unique<CRecordStore>(*g_pDatabase);
    }
    ~FullTerminal() {
        records.reset();
        CloseDatabase();
        std::filesystem::remove_all(m_dir);
    }

    std::unique_ptr<CRecordStore> records;

private:
    std::string m_dir;
};

FullTerminal& Terminal() {
    static FullTerminal terminal;
    return terminal;
}

double P95(const std::vector<double>& times) {
    std::vector<double> sorted(times);
    std::sort(sorted.begin(), sorted.end());
    return sorted.empty() ? 0 : sorted[(sorted.size() * 95 + 99) / 100 - 1];
}

// state.range(0): 0 every user, else that user's ID.
CString UserOf(const benchmark::State& state) {
    CString id;
    if (state.range(0)) id.Format(u"%d", static_cast<int>(state.range(0)));
    return id;
}

void QueryCount(benchmark::State& state) {
    CRecordStore& records = *Terminal().records;
    const CString id = UserOf(state);
    int count = 0;
    for (auto _ : state) records.CountRecords(65535, id, count, kFrom, kTo);
    state.counters["count"] = count;
}
BENCHMARK(QueryCount)->Arg(0)->Arg(1203)->Unit(benchmark::kMillisecond)->ComputeStatistics("p95", P95);

// One department of ten (a tenth of the records): the count, then the
// last page.
void QueryDepartment(benchmark::State& state) {
    CRecordStore& records = *Terminal().records;
    int count = 0, n = 0;
    records.CountRecords(4, u"", count, kFrom, kTo);
    for (auto _ : state) {
        if (state.range(0) == 0)
            records.CountRecords(4, u"", count, kFrom, kTo);
        else
            records.QueryRecordPage((count - 1) / kRows * kRows, kRows, 4, u"", n, kFrom, kTo);
    }
    state.counters["count"] = count;
}
BENCHMARK(QueryDepartment)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->ComputeStatistics("p95", P95);

// The count over every user and then the last page, as the query page
// opens on it, with the ring's oldest record in its first slot (just
// filled) or in the middle (wrapped, so that both parts of the ring are
// searched). The ring is set back to just filled afterwards.
void CountAndLastPage(benchmark::State& state) {
    auto setOldest = [](int first) {
        CString sql;
        sql.Format(u"update BasePara set AllRecordcount=%d, NewRecordcount=%d, RawRecordBeginRowid=1, "
                   u"AllRecordBeginRowid=%d, NewRecordBeginRowid=%d",
                   static_cast<int>(RecordRingCapacity), static_cast<int>(RecordRingCapacity), first, first);
        g_pDatabase->DirectStatement(sql);
    };
    Terminal();
    setOldest(static_cast<int>(state.range(0)));
    {
        CRecordStore records(*g_pDatabase);
        int count = 0, n = 0;
        for (auto _ : state) {
            records.CountRecords(65535, u"", count, kFrom, kTo);
            records.QueryRecordPage((count - 1) / kRows * kRows, kRows, 65535, u"", n, kFrom, kTo);
        }
        state.counters["count"] = count;
        state.counters["rows"] = n;
    }
    setOldest(1);
}
BENCHMARK(CountAndLastPage)
    ->ArgName("oldest")
    ->Arg(1)
    ->Arg(RecordRingCapacity / 2 + 1)
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("p95", P95);

// state.range(1): 0 the first page, 1 the middle one, 2 the last one.
void QueryPage(benchmark::State& state) {
    CRecordStore& records = *Terminal().records;
    const CString id = UserOf(state);
    int count = 0, n = 0;
    records.CountRecords(65535, id, count, kFrom, kTo);
    const int last = count > 0 ? (count - 1) / kRows : 0;
    const int page = static_cast<int>(state.range(1)) * last / 2;
    for (auto _ : state) records.QueryRecordPage(page * kRows, kRows, 65535, id, n, kFrom, kTo);
    state.counters["rows"] = n;
    state.counters["page"] = page;
}
BENCHMARK(QueryPage)->ArgsProduct({{0, 1203}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->ComputeStatistics("p95", P95);

void BackupDatabase(benchmark::State& state) {
    Terminal();
    CTransferLoop loop(nullptr);
    for (auto _ : state) benchmark::DoNotOptimize(BackupDatabaseTo(u"\\NandFlash\\KD4700.DB", loop).failed);
}
BENCHMARK(BackupDatabase)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("p95", P95);

// The yardstick of the backup: the same file copied by the platform.
void PlainFileCopy(benchmark::State& state) {
    Terminal();
    for (auto _ : state) benchmark::DoNotOptimize(CopyFileW(GetDatabasePath(), u"\\NandFlash\\KD4700.copy", FALSE));
}
BENCHMARK(PlainFileCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("p95", P95);

// The restore's check of a copy of the full database (about 13 MB): the
// whole integrity check and the scan of the templates, with the
// progress reported as the page's bar takes it.
void CheckRestoreCopy(benchmark::State& state) {
    Terminal();
    CTransferLoop loop(nullptr);
    BackupDatabaseTo(u"\\NandFlash\\KD4700.DB", loop);
    bool accepted = false;
    for (auto _ : state)
        accepted = IsTerminalDatabase(u"\\NandFlash\\KD4700.DB", [&](ULONGLONG done, ULONGLONG total) {
            loop.Show(done, total);
            loop.FeedWhenDue();
        });
    state.counters["accepted"] = accepted;
}
BENCHMARK(CheckRestoreCopy)->Unit(benchmark::kMillisecond)->UseRealTime()->ComputeStatistics("p95", P95);

}  // namespace
