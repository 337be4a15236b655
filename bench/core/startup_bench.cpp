// Start-up as a person at the terminal waits for it, with a database in full
// use: the fingerprint libraries, the system initialisation (settings,
// language, fonts, the database opened and probed, the data objects and
// access tables), then the main window made, its template store filled from
// the database and its first screen painted.
//
// The device root is a factory image; every user's template pair is made of
// real presses, which the matching library turns into its records as the
// store fills. The link is switched off: its thread runs beside start-up,
// never on its path, and each start would leave another one listening.
//
// The same start as a process: the terminal program executed on that root
// with a script that takes a picture of the screen once the main screen is
// up, timed from the exec to the picture's file. QUILLON_BENCH_PROGRAM
// names another build of the program to time the same way, for figures
// before and after a change taken in one run.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <spawn.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/full_database.h"
#include "bench/support/percentile.h"
#include "core/DatabaseOpen.h"
#include "core/FpLibraries.h"
#include "core/SystemInit.h"
#include "data/DataGlobals.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "data/UserStorage.h"
#include "main/QuillonDlg.h"
#include "platform/base/device_fs.h"
#include "platform/fp/fpapi.h"
#include "platform/fp/synthfinger.h"
#include "platform/ui/display.h"
#include "platform/ui/script.h"
#include "tools/device-image/device_image.h"

namespace {

namespace fs = std::filesystem;

bool ReplaceInFile(const fs::path& path, const std::string& from, const std::string& to) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    std::string content = text.str();
    const size_t at = content.find(from);
    if (at == std::string::npos) return false;
    content.replace(at, from.size(), to);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
    return true;
}

// Pair k of the presses: press k and press k + 1 of a pool, written over the
// templates of every user whose row number leaves k modulo the pool size.
bool PutRealTemplates(CDbSqlite& db) {
    constexpr int kPool = 50;
    std::vector<std::vector<BYTE>> presses;
    std::vector<BYTE> work(kFpImageBytes);
    for (uint32_t finger = 0; presses.size() < kPool && finger < 10 * kPool; ++finger) {
        const GreyImage image = SynthesizeFinger(finger, 0, kFpFlipWidth, kFpFlipHeight);
        std::vector<BYTE> press(kFpTemplateBytes);
        if (g_FpLib.VeltoProcess(image.pixels.data(), press.data(), work.data(), 1, 0) == 0)
            presses.push_back(std::move(press));
    }
    if (presses.size() < kPool) return false;
    db.DirectStatement(u"begin");
    for (int k = 0; k < kPool; ++k) {
        std::vector<BYTE> pair = presses[k];
        pair.insert(pair.end(), presses[(k + 1) % kPool].begin(), presses[(k + 1) % kPool].end());
        StatementPtr update(db.Statement(u"update FPinfo set FPTemplate = ? where rowid % ? = ?"));
        update->BindBlob(0, pair.data(), static_cast<int>(pair.size()));
        update->Bind(1, kPool);
        update->Bind(2, k);
        update->Execute();
    }
    db.DirectStatement(u"commit");
    return true;
}

class FullDevice {
public:
    FullDevice() : m_root(fs::temp_directory_path() / "bench-startup-root") {
        fs::remove_all(m_root);
        const factory::BuildResult built = factory::BuildDeviceImage(m_root.string(), false);
        if (!built.ok) {
            error = built.error;
            return;
        }
        if (!ReplaceInFile(m_root / "NandFlash/zeta42/config/config.xml", "<COMMUNICATIONTYPE>2<",
                           "<COMMUNICATIONTYPE>0<")) {
            error = "the factory configuration has no link setting to switch off";
            return;
        }
        SetDeviceRoot(m_root.string());
        CDbSqlite db;
        if (!db.Open(GetDatabasePath())) {
            error = "the factory database cannot be opened";
            return;
        }
        FillFullDatabase(db);
        LoadFpProcessDll();
        if (!g_FpLib.VeltoProcess || !PutRealTemplates(db)) error = "no templates can be made";
        db.Close();
        StartDisplay(DisplayMode::Headless);
    }
    ~FullDevice() { fs::remove_all(m_root); }

    const fs::path& Root() const { return m_root; }
    std::string error;

private:
    fs::path m_root;
};

FullDevice& Device() {
    static FullDevice device;
    return device;
}

// What a start leaves behind, taken away so the next one starts afresh.
void EndRun(CQuillonDlg& window) {
    window.DestroyWindow();
    ScriptDriver::PumpUntilIdle();
    delete g_pFPTemplateStore;
    delete g_pRecordStore;
    delete g_pUserStorage;
    delete g_pDeptStorage;
    g_pFPTemplateStore = nullptr;
    g_pRecordStore = nullptr;
    g_pUserStorage = nullptr;
    g_pDeptStorage = nullptr;
    CloseDatabase();
}

void StartUpToTheMainWindow(benchmark::State& state) {
    if (!Device().error.empty()) {
        state.SkipWithError(Device().error.c_str());
        return;
    }
    int templates = 0;
    for (auto _ : state) {
        LoadFpControlDll();
        LoadFpMatchDll();
        LoadFpProcessDll();
        if (!InitTool()) {
            state.SkipWithError("the system initialisation failed");
            return;
        }
        CQuillonDlg window(nullptr);
        window.Create(CQuillonDlg::IDD, nullptr);
        window.ShowWindow(SW_SHOW);
        ScriptDriver::PumpUntilIdle();

        state.PauseTiming();
        templates = g_pFPTemplateStore->GetCount();
        EndRun(window);
        state.ResumeTiming();
    }
    state.counters["templates"] = templates;
}
BENCHMARK(StartUpToTheMainWindow)->Unit(benchmark::kMillisecond);

// Runs the terminal program on the device and returns the seconds from
// its exec to the moment `marker` was written in the device root; a
// negative value when it never was.
double SecondsToMarker(const fs::path& root, const fs::path& script, const std::string& marker) {
    const char* other = std::getenv("QUILLON_BENCH_PROGRAM");
    const char* program = other != nullptr && *other != '\0' ? other : QUILLON_PROGRAM;
    const int watch = inotify_init1(IN_CLOEXEC);
    if (watch < 0 || inotify_add_watch(watch, root.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) return -1;
    const std::string rootArg = root.string(), scriptArg = script.string();
    char* const argv[] = {const_cast<char*>(program),            const_cast<char*>("--root"),
                          const_cast<char*>(rootArg.c_str()),  const_cast<char*>("--headless"),
                          const_cast<char*>("--script"),        const_cast<char*>(scriptArg.c_str()),
                          nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = -1;
    double seconds = -1;
    if (posix_spawn(&child, program, nullptr, nullptr, argv, environ) == 0) {
        alignas(inotify_event) char events[4096];
        for (ssize_t n; seconds < 0 && (n = read(watch, events, sizeof events)) > 0;) {
            for (char* at = events; at < events + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(at);
                if (event->len && marker == event->name)
                    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
                at += sizeof(inotify_event) + event->len;
            }
        }
        int status = 0;
        waitpid(child, &status, 0);
    }
    close(watch);
    return seconds;
}

void StartUpAsAProcess(benchmark::State& state) {
    if (!Device().error.empty()) {
        state.SkipWithError(Device().error.c_str());
        return;
    }
    const fs::path root = Device().Root(), script = root / "first-screen.script";
    const std::string marker = "first-screen.png";
    // The splash gives way to the main window within its first second
    // (virtual time, so no real waiting).
    std::ofstream(script) << "wait 1000\nshot " << (root / marker).string() << "\nquit\n";
    for (auto _ : state) {
        fs::remove(root / marker);
        const double seconds = SecondsToMarker(root, script, marker);
        if (seconds < 0) {
            state.SkipWithError("the program showed no main screen");
            return;
        }
        state.SetIterationTime(seconds);
    }
}
BENCHMARK(StartUpAsAProcess)
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(20)
    ->ComputeStatistics("p95", Percentile95)
    ->ReportAggregatesOnly(true);

}  // namespace
