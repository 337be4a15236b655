// A script file, any bytes: read and run as `--script` runs it, headless
// and in virtual time, until it ends or fails. Screenshots go to a scratch
// folder (a `shot` into another folder is left out), which is emptied
// after each input.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include "fuzz/fuzz_device.h"
#include "platform/base/clock.h"
#include "platform/ui/display.h"
#include "platform/ui/script.h"
#include "platform/ui/winuser.h"
#include "tools/iosim/sim_commands.h"

namespace fs = std::filesystem;

namespace {

const std::string& Scratch() {
    static const std::string folder = [] {
        const std::string made = FuzzAppFile("scratch");
        fs::create_directories(made);
        StartDisplay(DisplayMode::Headless);
        UseVirtualClock(true);
        RegisterDeviceScriptCommands(nullptr);
        return made;
    }();
    return folder;
}

// The line as it runs here: a screenshot's file name is taken in the
// scratch folder; empty for one that names another folder.
std::string Confined(const std::string& line) {
    std::istringstream words(line);
    std::string command, path;
    words >> command >> path;
    if (command != "shot" || path.empty()) return line;
    if (path.find('/') != std::string::npos) return "";
    const size_t at = line.find(path, line.find(command) + command.size());
    return line.substr(0, at) + Scratch() + "/" + line.substr(at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string folder = Scratch();
    std::string script(reinterpret_cast<const char*>(data), size);
    std::istringstream lines(script);
    std::string kept;
    for (std::string line; std::getline(lines, line);) kept += Confined(line) + "\n";
    const std::string path = FuzzAppFile("fuzz.script");
    WriteFuzzFile(path, reinterpret_cast<const uint8_t*>(kept.data()), kept.size());
    if (!RunScriptFileWhenIdle(path, true)) std::abort();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    return 0;
}
