// iosim [--link PATH]: the I/O controller on a pty, for a person or a test
// to drive. Prints the terminal's side (the device to map COM3 to in the
// registry's Drivers\SerialMap, or PATH, a link to it), then reads commands
// (see sim_commands.h, and "quit") from standard input and prints each
// frame the terminal sends with what it did.
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <thread>

#include "platform/base/debug.h"
#include "platform/base/utf.h"
#include "tools/iosim/sim_commands.h"

int main(int argc, char** argv) {
    std::string link;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--link") && i + 1 < argc) {
            link = argv[++i];
        } else {
            std::fprintf(stderr, "usage: iosim [--link PATH]\n");
            return 2;
        }
    }
    IoControllerSim sim;
    if (!sim.Start()) {
        std::fprintf(stderr, "iosim: no pseudo-terminal or thread available\n");
        return 1;
    }
    if (!link.empty()) {
        ::unlink(link.c_str());
        if (::symlink(sim.TerminalPath().c_str(), link.c_str()) != 0) {
            std::fprintf(stderr, "iosim: cannot link %s\n", link.c_str());
            return 1;
        }
    }
    // The terminal is another process here: its restart is only reported.
    sim.SetRestartHook([] { JournalWrite("iocontroller", u"the terminal would restart now"); });
    std::printf("iosim: terminal side at %s\n", sim.TerminalPath().c_str());
    std::fflush(stdout);

    std::atomic<bool> done{false};
    uint64_t seen = JournalLastSequence();
    auto printJournal = [&seen] {
        for (const JournalEntry& entry : JournalRead("iocontroller", seen)) {
            std::printf("%s\n", Utf16ToUtf8(entry.text).c_str());
            seen = entry.sequence;
        }
        std::fflush(stdout);
    };
    std::thread printer([&done, &printJournal] {
        while (!done) {
            printJournal();
            ::usleep(50000);
        }
    });
    std::string line;
    while (std::getline(std::cin, line) && line != "quit") {
        std::string reply;
        const bool ok = ExecuteSimCommand(sim, line, &reply);
        if (!reply.empty()) std::printf("%s%s\n", ok ? "" : "error: ", reply.c_str());
        std::fflush(stdout);
    }
    done = true;
    printer.join();
    printJournal();
    sim.Stop();
    if (!link.empty()) ::unlink(link.c_str());
    return 0;
}
