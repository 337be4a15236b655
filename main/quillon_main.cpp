// quillon: the terminal program.
//   quillon [--root DIR] [--headless | --window] [--script FILE] [--simulate-io] [--debug-output]
//   quillon --init-root DIR [--force]
//   quillon --help
// The exit status says how the run went (core/ProcessExit.h).
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ConfigXml.h"
#include "core/ProcessExit.h"
#include "core/QuillonApp.h"
#include "main/DatabaseWaitStep.h"
#include "main/ProgramEnd.h"
#include "main/ScreenFile.h"
#include "platform/base/debug.h"
#include "platform/base/device_fs.h"
#include "platform/fp/sensorslot.h"
#include "platform/ui/display.h"
#include "platform/ui/longwork.h"
#include "platform/ui/taskbar.h"
#include "platform/ui/uiprogram.h"
#include "tools/device-image/device_image.h"
#include "tools/iosim/device_hands.h"
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
    "  --init-root DIR  writes a factory device image into a new folder DIR\n"
    "  --force          with --init-root on an existing device folder: repairs it; the program files\n"
    "                   are put back, and the database, DB\\back, registry.reg, config.xml, photos,\n"
    "                   snapshots and log are kept (the missing ones among them written anew); a config.xml\n"
    "                   or registry.reg that cannot be read is kept as config.xml.damaged or\n"
    "                   registry.reg.damaged and the factory one written\n"
    "exit status: 0 a normal end; 1 start-up (or --init-root) stopped with an error message;\n"
    "2 a bad command line or a failed script; 3 no device folder, or a display that cannot be opened\n";

struct Options {
    std::string root = "device";
    bool rootGiven = false;
    std::string initRoot;
    bool force = false;
    bool simulateIo = false;
    bool help = false;
};

bool TakeOptions(std::vector<std::string>& args, Options& options, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--root" || arg == "--init-root") {
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
                error = arg + " needs a folder";
                return false;
            }
            (arg == "--root" ? options.root : options.initRoot) = args[++i];
            if (arg == "--root") options.rootGiven = true;
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
    if (!options.initRoot.empty() && options.rootGiven) {
        error = "--init-root and --root cannot be used together: --init-root DIR writes the folder, --root DIR runs it";
        return false;
    }
    if (options.force && options.initRoot.empty()) {
        error = "--force goes with --init-root DIR";
        return false;
    }
    return true;
}

// A device folder holds the application folder; without it nothing can
// start, and the person learns which path is missing and how to make one.
bool CheckDeviceRoot(const std::string& root) {
    namespace fs = std::filesystem;
    std::error_code ec;
    std::string missing;
    if (!fs::is_directory(root, ec)) {
        missing = root;
    } else {
        SetDeviceRoot(root);
        const std::string appDir = DeviceToHostPath(u"\\NandFlash\\zeta42");
        if (!fs::is_directory(appDir, ec)) missing = appDir;
    }
    if (missing.empty()) return true;
    std::fprintf(stderr,
                 "quillon: %s is missing: %s is not a device folder.\n"
                 "quillon --init-root %s makes one.\n",
                 missing.c_str(), root.c_str(), root.c_str());
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    UiOptions ui;
    Options options;
    std::string error;
    if (!TakeUiOptions(args, &ui, &error) || !TakeOptions(args, options, error)) {
        std::fprintf(stderr, "quillon: %s\n%s", error.c_str(), kUsage);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        return kExitNormal;
    }
    if (!options.initRoot.empty()) {
        const factory::BuildResult built = factory::BuildDeviceImage(
            options.initRoot, options.force, [&options](const std::string&) { return ConfigFileReads(options.initRoot); });
        for (const std::string& note : built.notes) std::fprintf(stderr, "quillon: %s\n", note.c_str());
        if (!built.ok) std::fprintf(stderr, "quillon: %s\n", built.error.c_str());
        return built.ok ? kExitNormal : kExitStartFailed;
    }
    if (!CheckDeviceRoot(options.root)) return kExitCannotStart;
    WatchEndSignals();
    // A finger left on the simulated sensor by an earlier run (a script
    // without `lift`, a killed program) is not this run's finger.
    const std::string sensor = SensorFolder(DeviceToHostPath(kAppDir));
    LiftFingerFromSensor(sensor);
    SetDisplayLostHandler(EndForLostDisplay);
    SetDisplayCloseHandler(RequestEnd);
    SetDisplayCutHandler(EndForCutConnection);
    SetLongWorkEndHandler(EndDuringLongWork);
    RunLongWorkStepWhileWaitingForTheDatabase();
    bool displayFailed = false;
    if (!StartUi(ui, &error, &displayFailed)) {
        std::fprintf(stderr, "quillon: %s\n", error.c_str());
        return displayFailed ? kExitCannotStart : kExitUsage;
    }
    // Without a window the screen is written to a file for a person to look at.
    if (!DisplayNeedsPolling()) {
        const std::string screen = options.root + "/screen.png";
        if (ui.display == DisplayMode::Auto)
            std::fprintf(stderr, "quillon: no display: running headless, the screen goes to %s\n", screen.c_str());
        ScreenFile::SetPath(screen);
    }
    StartShellTaskBar();
    IoControllerSim simulator;
    const bool simulating = options.simulateIo && simulator.Start();
    if (options.simulateIo && !simulating)
        std::fprintf(stderr, "quillon: the simulated I/O controller could not be started (no pseudo-terminal or "
                             "thread): the terminal runs without it\n");
    if (simulating) {
        simulator.AttachToPort();
        simulator.SetRestartHook(RestartThisProgram);
        RegisterDeviceScriptCommands(&simulator);
    } else {
        RegisterDeviceScriptCommands(nullptr);
    }
    SimulatedHands::CardReader cardReader;
    if (simulating)
        cardReader = [&simulator](const std::string& card) { return simulator.PresentCard(card); };
    SimulatedHands hands(GetDeviceRoot() + "/samples", sensor, cardReader);
    SetDeviceHands(&hands);
    const int code = AfxWinMain();
    // The process ends without unwinding: a screen still being written
    // would be left as a temporary file, and the file would miss the end.
    ScreenFile::Flush();
    StopDisplay();
    EndTerminal(code);
}
