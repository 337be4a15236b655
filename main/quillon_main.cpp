// quillon: the terminal program.
//   quillon [--root DIR] [--headless | --window] [--script FILE] [--simulate-io] [--debug-output]
//   quillon --init-root DIR [--force]
//   quillon --help
#include <cstdio>
#include <string>
#include <vector>

#include "core/ProcessExit.h"
#include "core/QuillonApp.h"
#include "main/QuillonDlg.h"
#include "platform/base/debug.h"
#include "platform/base/device_fs.h"
#include "platform/ui/taskbar.h"
#include "platform/ui/uiprogram.h"
#include "tools/device-image/device_image.h"
#include "tools/iosim/iocontroller_sim.h"
#include "tools/iosim/sim_commands.h"

namespace {

CQuillonApp theApp;

constexpr char kUsage[] =
    "usage: quillon [--root DIR] [--headless | --window] [--script FILE] [--simulate-io] [--debug-output]\n"
    "       quillon --init-root DIR [--force]\n"
    "  --root DIR       the device root (default ./device)\n"
    "  --headless       no window; the screen goes to DIR/screen.png when it changes\n"
    "  --window         the screen in a window (default when a display exists)\n"
    "  --script FILE    runs the script's commands, in virtual time, then ends\n"
    "  --simulate-io    the I/O controller is simulated in the program\n"
    "  --debug-output   debugger output to standard error\n"
    "  --init-root DIR  writes a factory device image into DIR (--force: over an existing one)\n";

struct Options {
    std::string root = "device";
    std::string initRoot;
    bool force = false;
    bool simulateIo = false;
    bool help = false;
};

bool TakeOptions(std::vector<std::string>& args, Options& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--root" && hasValue) {
            options.root = args[++i];
        } else if (arg == "--init-root" && hasValue) {
            options.initRoot = args[++i];
        } else if (arg == "--force") {
            options.force = true;
        } else if (arg == "--simulate-io") {
            options.simulateIo = true;
        } else if (arg == "--debug-output") {
            SetDebugOutputToStderr(true);
        } else if (arg == "--help") {
            options.help = true;
        } else {
            error = "unknown argument " + arg;
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    UiOptions ui;
    Options options;
    std::string error;
    if (!TakeUiOptions(args, &ui, &error) || !TakeOptions(args, options, error)) {
        std::fprintf(stderr, "%s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!options.initRoot.empty()) {
        const factory::BuildResult built = factory::BuildDeviceImage(options.initRoot, options.force);
        if (!built.ok) std::fprintf(stderr, "quillon: %s\n", built.error.c_str());
        return built.ok ? 0 : 1;
    }
    SetDeviceRoot(options.root);
    if (!StartUi(ui, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 2;
    }
    // Without a window the screen is written to a file for a person to look at.
    if (!DisplayNeedsPolling()) CQuillonDlg::SetScreenFile(options.root + "/screen.png");
    StartShellTaskBar();
    IoControllerSim simulator;
    if (options.simulateIo && simulator.Start()) {
        simulator.AttachToPort();
        simulator.SetRestartHook(RestartThisProgram);
        RegisterDeviceScriptCommands(&simulator);
    } else {
        RegisterDeviceScriptCommands(nullptr);
    }
    const int code = AfxWinMain();
    StopDisplay();
    EndProcess(static_cast<UINT>(code));
}
