#include "tools/iosim/sim_commands.h"

#include <linux/close_range.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/device_fs.h"
#include "platform/fp/sensorslot.h"
#include "platform/ui/script.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

bool Fail(std::string* reply, const std::string& why) {
    if (reply) *reply = why;
    return false;
}

bool Sent(std::string* reply, bool ok) {
    return ok ? true : Fail(reply, "the frame could not be sent: is the simulator started?");
}

int ParseByte(const std::string& text) {
    if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos) return -1;
    const int value = std::stoi(text);
    return value <= 255 ? value : -1;
}

// The simulated sensor lies beside the fingerprint libraries in the
// application folder.
std::string SensorSlot() {
    return SensorFolder(DeviceToHostPath(u"\\NandFlash\\zeta42"));
}

}  // namespace

std::string DescribeState(const IoControllerState& s, uint64_t nowMs) {
    std::ostringstream out;
    out << "door " << (s.DoorOpen(nowMs) ? "unlocked" : "locked") << ", bell " << (s.BellRinging(nowMs) ? "ringing" : "quiet")
        << ", alarm checks " << s.alarmCheck[0] << s.alarmCheck[1] << ", passes " << s.passes << ", refusals "
        << s.refusals << ", supervision " << (s.supervision ? "on" : "off") << ", feeds " << s.feeds;
    if (s.feeds) out << " (last " << (nowMs - s.lastFeedMs) << " ms ago)";
    out << ", missed feeds " << s.missedFeeds << ", restarts " << s.restarts << ", commands " << s.commands;
    return out.str();
}

bool ExecuteSimCommand(IoControllerSim& sim, const std::string& line, std::string* reply) {
    if (reply) reply->clear();
    const std::vector<std::string> words = Words(line);
    if (words.empty()) return true;
    const std::string& command = words[0];
    if (command == "key" || command == "keydown" || command == "keyup") {
        const BYTE vk = words.size() == 2 ? ScriptDriver::KeyCode(words[1]) : 0;
        if (!vk) return Fail(reply, command + " needs a key name (ESC ENTER UP DOWN LEFT RIGHT BACK F1-F12 MENU 0-9 STAR HASH)");
        if (command == "key") return Sent(reply, sim.PressKey(vk));
        return Sent(reply, sim.SendKey(vk, command == "keydown"));
    }
    if (command == "card") {
        if (words.size() != 2) return Fail(reply, "card needs up to 16 hexadecimal digits");
        return sim.PresentCard(words[1]) ? true : Fail(reply, "card needs up to 16 hexadecimal digits");
    }
    if (command == "power" && words.size() == 1) return Sent(reply, sim.PressPowerKey());
    if (command == "tamper" && words.size() == 1) return Sent(reply, sim.RaiseTamperAlarm());
    if (command == "doorsensor" && words.size() == 1) return Sent(reply, sim.RaiseDoorSensorAlarm());
    if (command == "input") {
        if (words.size() != 2 || (words[1] != "lock" && words[1] != "bell")) return Fail(reply, "input needs lock or bell");
        return Sent(reply, sim.RaiseAlarmInput(words[1] == "lock"));
    }
    if (command == "version") {
        const int major = words.size() == 3 ? ParseByte(words[1]) : -1;
        const int minor = words.size() == 3 ? ParseByte(words[2]) : -1;
        if (major < 0 || minor < 0) return Fail(reply, "version needs MAJOR and MINOR (0-255)");
        sim.SetVersion(static_cast<uint8_t>(major), static_cast<uint8_t>(minor));
        return true;
    }
    if (command == "state" && words.size() == 1) {
        if (reply) *reply = DescribeState(sim.State(), ClockNowMs());
        return true;
    }
    return Fail(reply, "unknown command: " + line);
}

void RegisterDeviceScriptCommands(IoControllerSim* sim) {
    ScriptDriver::RegisterCommand("card", [sim](const std::vector<std::string>& args, std::string* error) {
        if (!sim) return Fail(error, "card needs the simulated I/O controller (--simulate-io)");
        if (args.size() != 1 || !sim->PresentCard(args[0])) return Fail(error, "card needs up to 16 hexadecimal digits");
        return true;
    });
    ScriptDriver::RegisterCommand("finger", [](const std::vector<std::string>& args, std::string* error) {
        if (args.size() != 1) return Fail(error, "finger needs the path of a BMP image");
        if (!PlaceFingerOnSensor(SensorSlot(), args[0])) return Fail(error, "finger: cannot read " + args[0]);
        return true;
    });
    ScriptDriver::RegisterCommand("lift", [](const std::vector<std::string>& args, std::string* error) {
        if (!args.empty()) return Fail(error, "lift takes no argument");
        LiftFingerFromSensor(SensorSlot());
        return true;
    });
}

void RestartThisProgram() {
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<std::string> args;
    for (size_t start = 0; start < all.size();) {
        const size_t end = all.find('\0', start);
        args.push_back(all.substr(start, end - start));
        start = end == std::string::npos ? all.size() : end + 1;
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    if (args.empty()) return;
    HandScriptPlaceToRestart();
    // What the libraries opened without close-on-exec (the display, the
    // sound output) must not reach the new program either.
    ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    // The new image starts as a program starts: no signal blocked (this one
    // blocks the termination signals for the thread that waits for them).
    sigset_t none, blocked;
    sigemptyset(&none);
    pthread_sigmask(SIG_SETMASK, &none, &blocked);
    ::execv("/proc/self/exe", argv.data());
    pthread_sigmask(SIG_SETMASK, &blocked, nullptr);
}
