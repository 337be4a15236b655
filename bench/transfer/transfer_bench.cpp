// The transfers a person waits for on the data pages, on a database file on
// disk: users and templates exported and imported (into an empty and into a
// full database), and the whole record ring exported. The pause per record
// of the pages' loops is switched off: it is a fixed 5 ms x records and not
// the work measured here. Beside the import into an empty database, bare
// SQLite writes the same rows into the same file (one transaction, one
// prepared insert per table): the least any import could take.
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/support/full_database.h"
#include "bench/support/percentile.h"
#include "data/DataLocks.h"
#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "platform/base/device_fs.h"
#include "transfer/RecordExport.h"
#include "transfer/StorageLocation.h"
#include "transfer/TransferFiles.h"
#include "transfer/TransferImport.h"
#include "transfer/TransferLoop.h"
#include "transfer/UserExport.h"

namespace {

const char16_t kDbPath[] = u"\\DB\\KD4700.DB";
const char16_t kFolder[] = u"\\Transfer";

// A factory database in full use, its users and templates exported once as
// the files the import benchmarks read.
class Terminal {
public:
    Terminal() {
        InitDataStoreLocks();
        CTransferLoop::SetRecordPause(0);
        m_dir = std::filesystem::absolute("bench-transfer").string();
        std::filesystem::remove_all(m_dir);
        std::filesystem::create_directories(std::filesystem::path(m_dir) / "DB");
        std::filesystem::create_directories(std::filesystem::path(m_dir) / "Transfer");
        SetDeviceRoot(m_dir);
        CreateFactoryDatabase(kDbPath);
        db.Open(kDbPath);
        FillFullDatabase(db);
        // Every user carries a card, so that the import's card check is
        // timed with the rest.
        db.DirectStatement(u"update Userinfo set CardNo = 10000000 + userid");
        users = std::make_unique<CUserStorage>(db);
        records = std::make_unique<CRecordStore>(db);
        store.Reset();
        FillTemplateStore(store, db);
        CTransferLoop loop(nullptr);
        ExportUserFiles(kFolder, true, loop, db);
    }
    ~Terminal() {
        records.reset();
        users.reset();
        db.Close();
        std::filesystem::remove_all(m_dir);
    }
    // The rows of `table` as they are now, to be written again.
    std::vector<std::vector<sqlite3_value*>> Rows(const char* table) {
        std::vector<std::vector<sqlite3_value*>> rows;
        sqlite3* bare = OpenBare();
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(bare, (std::string("select * from ") + table).c_str(), -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            std::vector<sqlite3_value*>& row = rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(select); ++i) row.push_back(sqlite3_value_dup(sqlite3_column_value(select, i)));
        }
        sqlite3_finalize(select);
        sqlite3_close(bare);
        return rows;
    }
    // A second connection to the database file, set up as the terminal's.
    sqlite3* OpenBare() const {
        sqlite3* bare = nullptr;
        sqlite3_open((m_dir + "/DB/KD4700.DB").c_str(), &bare);
        sqlite3_exec(bare, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
        return bare;
    }
    void Empty() {
        db.DirectStatement(u"delete from Userinfo");
        db.DirectStatement(u"delete from FPinfo");
        users->LoadCount();
        store.Reset();
    }

    CDbSqlite db;
    std::unique_ptr<CUserStorage> users;
    std::unique_ptr<CRecordStore> records;
    CFPTemplateStore store;

private:
    std::string m_dir;
};

Terminal& Device() {
    static Terminal terminal;
    return terminal;
}

// Users and templates out of a full database: 5000 + 5000 records.
void ExportUsersAndTemplates(benchmark::State& state) {
    Terminal& device = Device();
    CTransferLoop loop(nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExportUserFiles(kFolder, true, loop, device.db));
    }
}

// The same files into a database that holds none of their users.
void ImportUsersAndTemplatesIntoEmpty(benchmark::State& state) {
    Terminal& device = Device();
    CTransferLoop loop(nullptr);
    for (auto _ : state) {
        state.PauseTiming();
        device.Empty();
        state.ResumeTiming();
        CTransferImport import(loop, device.db, *device.users, device.store);
        import.ImportUserFiles(kFolder);
        import.ImportFingerprintFile(kFolder);
        state.counters["not imported"] = import.NotImported();
    }
    state.counters["users"] = device.users->GetCount();
    state.counters["templates"] = device.store.GetCount();
}

// The rows that import writes, written by bare SQLite into the same file.
void BareSqliteWritesTheImportedRows(benchmark::State& state) {
    Terminal& device = Device();
    const std::vector<std::vector<sqlite3_value*>> users = device.Rows("Userinfo");
    const std::vector<std::vector<sqlite3_value*>> templates = device.Rows("FPinfo");
    sqlite3* bare = device.OpenBare();
    const auto write = [bare](const char* sql, const std::vector<std::vector<sqlite3_value*>>& rows) {
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(bare, sql, -1, &insert, nullptr);
        for (const std::vector<sqlite3_value*>& row : rows) {
            for (size_t i = 0; i < row.size(); ++i) sqlite3_bind_value(insert, static_cast<int>(i) + 1, row[i]);
            sqlite3_step(insert);
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
    };
    for (auto _ : state) {
        state.PauseTiming();
        device.Empty();
        state.ResumeTiming();
        sqlite3_exec(bare, "begin", nullptr, nullptr, nullptr);
        write("insert into Userinfo values (?,?,?,?,?,?,?,?,?,?,?,?)", users);
        write("insert into FPinfo values (?,?,?)", templates);
        sqlite3_exec(bare, "commit", nullptr, nullptr, nullptr);
    }
    sqlite3_close(bare);
    for (const auto* rows : {&users, &templates})
        for (const std::vector<sqlite3_value*>& row : *rows)
            for (sqlite3_value* value : row) sqlite3_value_free(value);
    // The terminal's view of them, for the benchmarks after this one.
    device.users->LoadCount();
    FillTemplateStore(device.store, device.db);
    state.counters["users"] = device.users->GetCount();
    state.counters["templates"] = device.store.GetCount();
}

// The same files into the database they came from: every record an update.
void ImportUsersAndTemplatesIntoFull(benchmark::State& state) {
    Terminal& device = Device();
    CTransferLoop loop(nullptr);
    for (auto _ : state) {
        CTransferImport import(loop, device.db, *device.users, device.store);
        import.ImportUserFiles(kFolder);
        import.ImportFingerprintFile(kFolder);
        state.counters["not imported"] = import.NotImported();
    }
    state.counters["users"] = device.users->GetCount();
    state.counters["templates"] = device.store.GetCount();
}

// The full ring of 100000 records into Bak.kq.
void ExportAllRecords(benchmark::State& state) {
    Terminal& device = Device();
    CTransferLoop loop(nullptr);
    const CString path = TransferFilePath(kFolder, u"Bak.kq");
    for (auto _ : state) benchmark::DoNotOptimize(ExportAttendanceRecords(path, true, loop, *device.records));
    state.counters["records"] = device.records->GetAllRecordcount();
}

// One user's name of state.range(0) characters into its 10-byte field, as
// the user export writes it: the time must not grow faster than the name
// (the complexity reported is the check).
void EncodeLongName(benchmark::State& state) {
    const CString name(std::u16string(static_cast<size_t>(state.range(0)), u'名'));
    BYTE field[PackedNameSize];
    for (auto _ : state) {
        EncodeTransferName(name, field);
        benchmark::DoNotOptimize(field);
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(EncodeLongName)->RangeMultiplier(8)->Range(8, 1 << 20)->Complexity();
BENCHMARK(ExportUsersAndTemplates)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)->ReportAggregatesOnly(true);
BENCHMARK(ImportUsersAndTemplatesIntoEmpty)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)->ReportAggregatesOnly(true);
BENCHMARK(BareSqliteWritesTheImportedRows)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)->ReportAggregatesOnly(true);
BENCHMARK(ImportUsersAndTemplatesIntoFull)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)->ReportAggregatesOnly(true);
BENCHMARK(ExportAllRecords)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(10)
    ->ComputeStatistics("p95", Percentile95)->ReportAggregatesOnly(true);
