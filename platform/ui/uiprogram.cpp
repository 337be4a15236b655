#include "platform/ui/uiprogram.h"

#include "platform/base/clock.h"
#include "platform/ui/script.h"

bool TakeUiOptions(std::vector<std::string>& args, UiOptions* options, std::string* error) {
    std::vector<std::string> rest;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--headless" || args[i] == "--window") {
            const DisplayMode mode = args[i] == "--headless" ? DisplayMode::Headless : DisplayMode::Window;
            if (options->display != DisplayMode::Auto && options->display != mode) {
                *error = "--headless and --window cannot be used together";
                return false;
            }
            options->display = mode;
        } else if (args[i] == "--script") {
            if (i + 1 >= args.size()) {
                *error = "--script needs a file";
                return false;
            }
            options->script = args[++i];
        } else {
            rest.push_back(args[i]);
        }
    }
    args = std::move(rest);
    return true;
}

bool StartUi(const UiOptions& options, std::string* error, bool* displayFailed) {
    std::string why;
    StartDisplay(options.display, &why);
    if (displayFailed != nullptr) *displayFailed = !why.empty();
    if (!why.empty()) {
        StopDisplay();
        *error = why + "; start with --headless to run without a window";
        return false;
    }
    if (options.script.empty()) return true;
    // Scripted runs are repeatable: time moves only as the script says.
    UseVirtualClock(true);
    if (!RunScriptFileWhenIdle(options.script, true)) {
        *error = "cannot read the script " + options.script;
        return false;
    }
    return true;
}
