// What users feel of the data store, on a database file on disk: a punch
// into the full ring, the template store filled at start, a record query
// page, and the PC collecting the new records.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/full_database.h"
#include "data/DataLocks.h"
#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/base/device_fs.h"

namespace {

const char16_t kDbPath[] = u"\\DB\\KD4700.DB";

// A factory database in full use.
class FullDatabase {
public:
    FullDatabase() {
        InitDataStoreLocks();
        m_dir = std::filesystem::absolute("bench-data-store").string();
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(std::filesystem::path(m_dir) / "DB");
        SetDeviceRoot(m_dir);
        CreateFactoryDatabase(kDbPath);
        db.Open(kDbPath);
        FillFullDatabase(db);
        records = std::make_unique<CRecordStore>(db);
    }
    ~FullDatabase() {
        records.reset();
        db.Close();
        std::filesystem::remove_all(m_dir);
    }

    CDbSqlite db;
    std::unique_ptr<CRecordStore> records;

private:
    std::string m_dir;
};

FullDatabase& Database() {
    static FullDatabase database;
    return database;
}

void AddRecordIntoFullRing(benchmark::State& state) {
    CRecordStore& records = *Database().records;
    CheckinoutRecord record;
    record.Userid = u"1234";
    record.CheckTime = u"2014-10-01 08:00:00";
    for (auto _ : state) benchmark::DoNotOptimize(records.AddRecord(record));
    state.counters["all"] = records.GetAllRecordcount();
}
BENCHMARK(AddRecordIntoFullRing)->Unit(benchmark::kMillisecond);

void FillTemplateStoreAtStart(benchmark::State& state) {
    CFPTemplateStore store;
    for (auto _ : state) benchmark::DoNotOptimize(FillTemplateStore(store, Database().db));
    state.counters["templates"] = store.GetCount();
}
BENCHMARK(FillTemplateStoreAtStart)->Unit(benchmark::kMillisecond);

void CountAndQueryOneDay(benchmark::State& state) {
    CRecordStore& records = *Database().records;
    int count = 0, n = 0;
    for (auto _ : state) {
        records.CountRecords(65535, u"", count, u"2014-09-10 00:00:00", u"2014-09-10 23:59:59");
        records.QueryRecordPage(0, 7, 65535, u"", n, u"2014-09-10 00:00:00", u"2014-09-10 23:59:59");
    }
    state.counters["count"] = count;
}
BENCHMARK(CountAndQueryOneDay)->Unit(benchmark::kMillisecond);

void CountAndQueryOneUserAllTime(benchmark::State& state) {
    CRecordStore& records = *Database().records;
    int count = 0, n = 0;
    for (auto _ : state) {
        records.CountRecords(4, u"1203", count, u"2000-01-01 00:00:00", u"2099-12-31 23:59:59");
        records.QueryRecordPage(0, 7, 4, u"1203", n, u"2000-01-01 00:00:00", u"2099-12-31 23:59:59");
    }
    state.counters["count"] = count;
}
BENCHMARK(CountAndQueryOneUserAllTime)->Unit(benchmark::kMillisecond);

void ReadWholeNewWindow(benchmark::State& state) {
    CRecordStore& records = *Database().records;
    const int batch = static_cast<int>(state.range(0));
    std::vector<BYTE> buffer(PackedCheckinoutSize * batch);
    long total = 0;
    for (auto _ : state) {
        int n = 0;
        total = 0;
        records.ReadNewFirst(buffer.data(), batch, n);
        while (n > 0) {
            total += n;
            records.ReadNewNext(buffer.data(), batch, n);
        }
    }
    state.counters["records"] = static_cast<double>(total);
}
BENCHMARK(ReadWholeNewWindow)->Arg(58)->Unit(benchmark::kMillisecond);

}  // namespace
