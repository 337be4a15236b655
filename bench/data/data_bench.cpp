// What users feel of the data store, on a database file on disk: a punch
// into the full ring, the template store filled at start, a record query
// page, and the PC collecting the new records.
//
// The database in full use is made once; every benchmark works on a fresh
// copy of it and sets the ring's state itself (its oldest record in slot 1,
// the ring just filled, or in the middle, the ring wrapped), so that no
// benchmark depends on what ran before it.
//
// Syncs are counted where SQLite makes them: this program's fdatasync and
// fsync stand in for the C library's, count, and make the system call.
#include <benchmark/benchmark.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/full_database.h"
#include "bench/support/percentile.h"
#include "data/DataLocks.h"
#include "data/DatabaseFile.h"
#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/base/device_fs.h"

namespace {

std::atomic<long> g_syncs{0};

}  // namespace

extern "C" int fdatasync(int fd) {
    ++g_syncs;
    return static_cast<int>(syscall(SYS_fdatasync, fd));
}

extern "C" int fsync(int fd) {
    ++g_syncs;
    return static_cast<int>(syscall(SYS_fsync, fd));
}

namespace {

const char16_t kFullPath[] = u"\\DB\\full.DB";
const char16_t kDbPath[] = u"\\DB\\KD4700.DB";

// Where the ring's oldest record lies.
constexpr int kJustFilled = 1;
constexpr int kWrapped = RecordRingCapacity / 2 + 1;

class DeviceRoot {
public:
    DeviceRoot() {
        InitDataStoreLocks();
        m_dir = std::filesystem::absolute("bench-data-store").string();
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(std::filesystem::path(m_dir) / "DB");
        SetDeviceRoot(m_dir);
        CreateFactoryDatabase(kFullPath);
        CDbSqlite full;
        full.Open(kFullPath);
        FillFullDatabase(full);
    }
    ~DeviceRoot() { std::filesystem::remove_all(m_dir); }

private:
    std::string m_dir;
};

// A fresh copy of the full database, its ring's oldest record in `first`.
class FullDatabase {
public:
    explicit FullDatabase(int first) {
        static DeviceRoot root;
        ReplaceDatabaseWithCopy(kFullPath, kDbPath);
        db.Open(kDbPath);
        CString sql;
        sql.Format(u"update BasePara set AllRecordcount=%d, NewRecordcount=%d, RawRecordBeginRowid=1, "
                   u"AllRecordBeginRowid=%d, NewRecordBeginRowid=%d",
                   static_cast<int>(RecordRingCapacity), static_cast<int>(RecordRingCapacity), first, first);
        db.DirectStatement(sql);
        records = std::make_unique<CRecordStore>(db);
    }
    ~FullDatabase() {
        records.reset();
        db.Close();
    }

    CDbSqlite db;
    std::unique_ptr<CRecordStore> records;
};

void AddRecordIntoFullRing(benchmark::State& state) {
    FullDatabase database(static_cast<int>(state.range(0)));
    CheckinoutRecord record;
    record.Userid = u"1234";
    record.CheckTime = u"2014-10-01 08:00:00";
    const long syncsBefore = g_syncs;
    for (auto _ : state) benchmark::DoNotOptimize(database.records->AddRecord(record));
    state.counters["syncs/punch"] = static_cast<double>(g_syncs - syncsBefore) / state.iterations();
    state.counters["all"] = database.records->GetAllRecordcount();
}
BENCHMARK(AddRecordIntoFullRing)
    ->ArgName("oldest")
    ->Arg(kJustFilled)
    ->Arg(kWrapped)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void FillTemplateStoreAtStart(benchmark::State& state) {
    FullDatabase database(kJustFilled);
    CFPTemplateStore store;
    for (auto _ : state) benchmark::DoNotOptimize(FillTemplateStore(store, database.db));
    state.counters["templates"] = store.GetCount();
}
BENCHMARK(FillTemplateStoreAtStart)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(20)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

void CountAndQueryOneDay(benchmark::State& state) {
    FullDatabase database(static_cast<int>(state.range(0)));
    int count = 0, n = 0;
    for (auto _ : state) {
        database.records->CountRecords(65535, u"", count, u"2014-09-10 00:00:00", u"2014-09-10 23:59:59");
        database.records->QueryRecordPage(0, 7, 65535, u"", n, u"2014-09-10 00:00:00", u"2014-09-10 23:59:59");
    }
    state.counters["count"] = count;
}
BENCHMARK(CountAndQueryOneDay)->ArgName("oldest")->Arg(kJustFilled)->Arg(kWrapped)->Unit(benchmark::kMillisecond);

void CountAndQueryOneUserAllTime(benchmark::State& state) {
    FullDatabase database(static_cast<int>(state.range(0)));
    int count = 0, n = 0;
    for (auto _ : state) {
        database.records->CountRecords(4, u"1203", count, u"2000-01-01 00:00:00", u"2099-12-31 23:59:59");
        database.records->QueryRecordPage(0, 7, 4, u"1203", n, u"2000-01-01 00:00:00", u"2099-12-31 23:59:59");
    }
    state.counters["count"] = count;
}
BENCHMARK(CountAndQueryOneUserAllTime)
    ->ArgName("oldest")
    ->Arg(kJustFilled)
    ->Arg(kWrapped)
    ->Unit(benchmark::kMillisecond);

void ReadWholeNewWindow(benchmark::State& state) {
    FullDatabase database(static_cast<int>(state.range(0)));
    constexpr int kBatch = 58;
    std::vector<BYTE> buffer(PackedCheckinoutSize * kBatch);
    long total = 0;
    for (auto _ : state) {
        int n = 0;
        total = 0;
        database.records->ReadNewFirst(buffer.data(), kBatch, n);
        while (n > 0) {
            total += n;
            database.records->ReadNewNext(buffer.data(), kBatch, n);
        }
    }
    state.counters["records"] = static_cast<double>(total);
}
BENCHMARK(ReadWholeNewWindow)->ArgName("oldest")->Arg(kJustFilled)->Arg(kWrapped)->Unit(benchmark::kMillisecond);

}  // namespace
