#include "platform/base/debug.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>

#include "platform/base/utf.h"

namespace {

bool EnvironmentAsksForDebugOutput() {
    const char* value = std::getenv("QUILLON_DEBUG_OUTPUT");
    return value && *value && std::strcmp(value, "0") != 0;
}

std::atomic<bool>& DebugToStderr() {
    static std::atomic<bool> on{EnvironmentAsksForDebugOutput()};
    return on;
}

std::mutex g_stderrLock;

// Values of /proc/meminfo-style files in bytes ("MemTotal:  8000 kB").
std::map<std::string, uint64_t> ReadKibibyteTable(const char* path) {
    std::map<std::string, uint64_t> table;
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string key;
        uint64_t value = 0;
        if (fields >> key >> value && !key.empty() && key.back() == ':') {
            key.pop_back();
            table[key] = value * 1024;
        }
    }
    return table;
}

DWORD Clamp(uint64_t bytes) {
    return bytes > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<DWORD>(bytes);
}

constexpr uint64_t kVirtualSpace = 0x7FFE0000;

std::atomic<void (*)(LPMEMORYSTATUS)> g_memoryStatusHook{nullptr};

}  // namespace

void OutputDebugStringW(LPCWSTR text) {
    if (!text) return;
    JournalWrite(kJournalDebug, text);
    if (!DebugToStderr().load()) return;
    std::string utf8 = Utf16ToUtf8(text);
    std::lock_guard<std::mutex> lock(g_stderrLock);
    std::fwrite(utf8.data(), 1, utf8.size(), stderr);
    std::fflush(stderr);
}

void SetDebugOutputToStderr(bool on) {
    DebugToStderr().store(on);
}

void GlobalMemoryStatus(LPMEMORYSTATUS status) {
    if (!status) return;
    auto memory = ReadKibibyteTable("/proc/meminfo");
    uint64_t total = memory["MemTotal"];
    uint64_t available = memory.count("MemAvailable") ? memory["MemAvailable"] : memory["MemFree"];
    uint64_t processSize = ReadKibibyteTable("/proc/self/status")["VmSize"];
    status->dwLength = sizeof(MEMORYSTATUS);
    status->dwMemoryLoad = total ? static_cast<DWORD>((total - std::min(available, total)) * 100 / total) : 0;
    status->dwTotalPhys = Clamp(total);
    status->dwAvailPhys = Clamp(available);
    status->dwTotalPageFile = Clamp(total + memory["SwapTotal"]);
    status->dwAvailPageFile = Clamp(available + memory["SwapFree"]);
    status->dwTotalVirtual = Clamp(kVirtualSpace);
    status->dwAvailVirtual = Clamp(kVirtualSpace - std::min(processSize, kVirtualSpace));
    if (auto hook = g_memoryStatusHook.load()) hook(status);
}

void SetMemoryStatusHook(void (*hook)(LPMEMORYSTATUS status)) { g_memoryStatusHook = hook; }
