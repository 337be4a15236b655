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
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/support/full_database.h"
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

}  // namespace
