// The software update with many control-panel icons, and what every start
// then does with them: both should grow with the icon count, not with its
// square. Each repetition is one whole update (or one start's clean-up);
// median and 95th percentile over the repetitions.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/support/percentile.h"
#include "platform/base/device_fs.h"
#include "transfer/MaintenanceFiles.h"
#include "transfer/TransferLoop.h"
#include "transfer/UpdateFolder.h"
#include "transfer/UpdateInstall.h"

namespace {

namespace fs = std::filesystem;

const char* const kProgramFiles[] = {"Quillon.exe", "SMApi_WinCE.dll", "SMControl_WinCE.dll", "SMProcess_WinCE.dll",
                                     "launch.exe"};

void PutFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// A device root whose skin holds `installed` icons, half of them replaced by
// an update folder on the USB disk holding `offered` (the rest new names).
class IconRoot {
public:
    IconRoot(int installed, int offered) : m_dir(fs::absolute("bench-update").string()) {
        fs::remove_all(m_dir);
        const fs::path root(m_dir);
        const fs::path skin = root / "NandFlash/zeta42/SKIN/FLOWER/ControlPanel/ICON";
        const fs::path update = root / "USB Disk/zeta42";
        fs::create_directories(skin);
        for (int n = 0; n < installed; ++n) PutFile(skin / Name(n), std::string(600, 'o'));
        for (const char* name : kProgramFiles) PutFile(update / name, std::string(4000, 'p'));
        for (int n = installed / 2; n < installed / 2 + offered; ++n)
            PutFile(update / "SKIN/FLOWER/ControlPanel/ICON" / Name(n), std::string(600, 'n'));
        SetDeviceRoot(m_dir);
    }
    ~IconRoot() { fs::remove_all(m_dir); }
    IconRoot(const IconRoot&) = delete;
    IconRoot& operator=(const IconRoot&) = delete;

private:
    static std::string Name(int n) { return "icon" + std::to_string(n) + ".png"; }
    std::string m_dir;
};

// The update of state.range(0) icons over a skin that holds as many.
void UpdateWithIcons(benchmark::State& state) {
    const int icons = static_cast<int>(state.range(0));
    IconRoot root(icons, icons);
    bool installed = true;
    for (auto _ : state) {
        std::vector<UpdateFile> files;
        installed &= CollectUpdateFiles(u"\\USB Disk\\zeta42", files) == UpdateFolderState::Usable;
        CTransferLoop loop(nullptr);
        installed &= !InstallUpdateFiles(files, loop).failed;
    }
    if (!installed) state.SkipWithError("the update was not installed");
}
BENCHMARK(UpdateWithIcons)
    ->Arg(250)
    ->Arg(kUpdateIconLimit)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p95", Percentile95)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// A start's clean-up of what an update may have left, over a skin of
// state.range(0) icons (several updates' worth at the most).
void StartUpWithIcons(benchmark::State& state) {
    IconRoot root(static_cast<int>(state.range(0)), 0);
    for (auto _ : state) RemoveMaintenanceLeftovers();
}
BENCHMARK(StartUpWithIcons)
    ->Arg(1000)
    ->Arg(8000)
    ->Iterations(1)
    ->Repetitions(10)
    ->ReportAggregatesOnly(true)
    ->ComputeStatistics("p95", Percentile95)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
