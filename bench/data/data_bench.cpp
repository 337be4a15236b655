// What users feel of the data store, on a database file on disk: a punch
// into the full ring, the template store filled at start (the fingerprint
// libraries loaded as the terminal loads them, every stored pair made the
// matcher's record), a record query page, and the PC collecting the new
// records.
//
// The database in full use is made once; every benchmark works on a fresh
// copy of it and sets the ring's state itself (its oldest record in slot 1,
// the ring just filled, or in the middle, the ring wrapped), so that no
// benchmark depends on what ran before it.
//
// Syncs are counted where SQLite makes them: this program's fdatasync and
// fsync stand in for the C library's, count, and make the system call.
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>

#include "bench/support/full_database.h"
#include "bench/support/percentile.h"
#include "core/FpLibraries.h"
#include "core/SystemInit.h"
#include "data/DataLocks.h"
#include "data/DatabaseFile.h"
#include "data/DbSqlite.h"
#include "data/FPTemplateStore.h"
#include "data/FactoryDatabase.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/base/device_fs.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/synthfinger.h"

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

// The fingerprint libraries' functions the fill and this program call, in
// the terminal's table, and the data store's services connected to them as
// at start.
void LoadFingerprintLibraries() {
    auto open = [](const char* name) {
        return ::dlopen((std::string(FP_LIBRARY_DIR) + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
    };
    static void* const control = open("SMControl_WinCE.dll");
    static void* const process = open("SMProcess_WinCE.dll");
    static void* const match = open("SMApi_WinCE.dll");
    g_FpLib.SMCVersion = reinterpret_cast<FpIntProc>(::dlsym(control, "SMCVersion"));
    g_FpLib.VeltoProcess = reinterpret_cast<FpProcessProc>(::dlsym(process, "VeltoProcess"));
    g_FpLib.VeltoTempToFPRECORD = reinterpret_cast<FpToRecordProc>(::dlsym(match, "VeltoTempToFPRECORD"));
    g_FpLib.VeltoAutoUpFP = reinterpret_cast<FpAutoUpProc>(::dlsym(match, "VeltoAutoUpFP"));
    ConnectDataStoreServices();
}

// Every user's stored pair made two presses of a real (synthetic) finger:
// kDistinct fingers in turn, as conversion costs the same for any finger.
bool StoreRealTemplates(CDbSqlite& db) {
    constexpr int kDistinct = 25;
    if (!g_FpLib.VeltoProcess || !g_FpLib.VeltoTempToFPRECORD) return false;
    int width, height;
    FpImageSize(GetSensorVersion(), &width, &height);
    uint32_t seed = 4000000;
    for (int k = 0; k < kDistinct; ++k) {
        BYTE pair[kFpStoredBytes], work[kFpImageBytes];
        for (bool made = false; !made; ++seed) {
            made = true;
            for (uint32_t press = 0; press < 2; ++press) {
                const GreyImage image = SynthesizeFinger(seed, press, width, height);
                made = made && g_FpLib.VeltoProcess(image.pixels.data(), pair + press * kFpTemplateBytes, work, 1, 0) == 0;
            }
        }
        StatementPtr update(db.Statement(u"UPDATE FPinfo SET FPTemplate = ? WHERE rowid % ? = ?"));
        update->BindBlob(0, pair, kFpStoredBytes);
        update->Bind(1, kDistinct);
        update->Bind(2, k);
        if (!update->Execute()) return false;
    }
    return true;
}

// The database with real templates and the libraries loaded; false (the
// benchmark skipped) when the libraries are missing.
bool ReadyToFill(benchmark::State& state, CDbSqlite& db) {
    LoadFingerprintLibraries();
    if (GetSensorVersion() >= 8 && StoreRealTemplates(db)) return true;
    state.SkipWithError("the fingerprint libraries could not be loaded");
    return false;
}

void FillTemplateStoreAtStart(benchmark::State& state) {
    FullDatabase database(kJustFilled);
    if (!ReadyToFill(state, database.db)) return;
    // A new store each time, with no block yet, as start-up makes it: the
    // fill allocates the store's block too.
    int templates = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<CFPTemplateStore>();
        state.ResumeTiming();
        templates = FillTemplateStore(*store, database.db);
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
    state.counters["templates"] = templates;
}
BENCHMARK(FillTemplateStoreAtStart)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(20)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

// The fill again over a full store, as when the control panel closes: the
// store lets go of its 5000 templates first.
void FillTemplateStoreAgain(benchmark::State& state) {
    FullDatabase database(kJustFilled);
    if (!ReadyToFill(state, database.db)) return;
    CFPTemplateStore store;
    FillTemplateStore(store, database.db);
    for (auto _ : state) benchmark::DoNotOptimize(FillTemplateStore(store, database.db));
    state.counters["templates"] = store.GetCount();
}
BENCHMARK(FillTemplateStoreAgain)
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
