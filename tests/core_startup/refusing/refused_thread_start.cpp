// Linked into the terminal program for the tests: QUILLON_REFUSED_THREAD
// names one of its threads (splash, comm, io, signals, deadline, screen, fonts, iosim) whose start
// then fails as it fails on a system that has no thread to give.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "comm/CommThread.h"
#include "core/WelcomDlg.h"
#include "main/IoController.h"
#include "main/ProgramEnd.h"
#include "main/ScreenFile.h"
#include "platform/base/threads.h"
#include "platform/ui/font.h"
#include "tools/iosim/iocontroller_sim.h"

namespace {

const void* Procedure(const std::string& name) {
    if (name == "splash") return reinterpret_cast<const void*>(&SplashThread);
    if (name == "comm") return reinterpret_cast<const void*>(&CommThread);
    if (name == "io") return reinterpret_cast<const void*>(&IoControllerThread);
    if (name == "signals") return reinterpret_cast<const void*>(&WaitForEndSignals);
    if (name == "deadline") return reinterpret_cast<const void*>(&EndAfterUnwindTime);
    if (name == "screen") return reinterpret_cast<const void*>(&ScreenFile::WriterThread);
    if (name == "fonts") return reinterpret_cast<const void*>(&LoadHostFonts);
    if (name == "iosim") return reinterpret_cast<const void*>(&IoControllerSim::RunThread);
    std::fprintf(stderr, "QUILLON_REFUSED_THREAD: no thread named %s\n", name.c_str());
    std::exit(125);
}

const bool g_refused = [] {
    if (const char* name = std::getenv("QUILLON_REFUSED_THREAD")) RefuseThreadStartsOf(Procedure(name));
    return true;
}();

}  // namespace
