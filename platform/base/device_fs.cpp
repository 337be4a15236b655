#include "platform/base/device_fs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <filesystem>
#include <mutex>
#include <set>
#include <unordered_map>

#include "platform/base/nocase.h"
#include "platform/base/registry.h"
#include "platform/base/utf.h"

namespace {

std::mutex g_rootLock;

std::string& RootStorage() {
    static std::string root = std::filesystem::absolute("device").lexically_normal().string();
    return root;
}

bool IsSeparator(char16_t ch) { return ch == u'\\' || ch == u'/'; }

// The entry of `dir` that names `wanted` regardless of case, or "" when none.
std::string FindEntryNoCase(const std::string& dir, std::u16string_view wanted) {
    const std::string exact = Utf16ToUtf8(wanted);
    struct stat st;
    if (lstat((dir + "/" + exact).c_str(), &st) == 0) return exact;

    DIR* handle = opendir(dir.c_str());
    if (!handle) return {};
    std::string best;
    while (const dirent* entry = readdir(handle)) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..") continue;
        if (!EqualNoCase(Utf8ToUtf16(name), wanted)) continue;
        if (best.empty() || name < best) best = name;
    }
    closedir(handle);
    return best;
}

}  // namespace

void SetDeviceRoot(const std::string& hostDir) {
    {
        std::lock_guard<std::mutex> lock(g_rootLock);
        RootStorage() = std::filesystem::absolute(hostDir).lexically_normal().string();
        while (RootStorage().size() > 1 && RootStorage().back() == '/') RootStorage().pop_back();
    }
    RegistryLoad();
}

std::string GetDeviceRoot() {
    std::lock_guard<std::mutex> lock(g_rootLock);
    return RootStorage();
}

std::vector<std::u16string> DevicePathComponents(std::u16string_view devicePath) {
    std::vector<std::u16string> parts;
    size_t pos = 0;
    while (pos < devicePath.size()) {
        size_t end = pos;
        while (end < devicePath.size() && !IsSeparator(devicePath[end])) ++end;
        const std::u16string_view part = devicePath.substr(pos, end - pos);
        if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != u".") {
            parts.emplace_back(part);
        }
        pos = end + 1;
    }
    return parts;
}

bool IsSingleDeviceName(std::u16string_view name) {
    if (name.empty() || name == u"." || name == u"..") return false;
    for (const char16_t c : name)
        if (c < 0x20 || IsSeparator(c) || std::u16string_view(u":*?\"<>|").find(c) != std::u16string_view::npos)
            return false;
    return true;
}

std::string HostPathOfComponents(const std::vector<std::u16string>& components, size_t count) {
    std::string path = GetDeviceRoot();
    bool exists = true;
    for (size_t i = 0; i < components.size() && i < count; ++i) {
        std::string name;
        if (exists) {
            name = FindEntryNoCase(path, components[i]);
            exists = !name.empty();
        }
        if (!exists) name = Utf16ToUtf8(components[i]);
        path += "/" + name;
    }
    return path;
}

std::string DeviceToHostPath(std::u16string_view devicePath) {
    return HostPathOfComponents(DevicePathComponents(devicePath));
}

std::vector<std::string> HostPathsInFolder(std::u16string_view folder, const std::vector<std::u16string>& names) {
    const std::string host = DeviceToHostPath(folder);
    // Each name in capitals to the entry that FindEntryNoCase would take.
    std::set<std::string> entries;
    std::unordered_map<std::u16string, std::string> byCapitals;
    if (DIR* handle = opendir(host.c_str())) {
        while (const dirent* entry = readdir(handle)) {
            const std::string name = entry->d_name;
            if (name == "." || name == "..") continue;
            entries.insert(name);
            std::string& best = byCapitals[UpperCase(Utf8ToUtf16(name))];
            if (best.empty() || name < best) best = name;
        }
        closedir(handle);
    }
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::u16string& name : names) {
        std::string found = Utf16ToUtf8(name);
        if (!entries.count(found)) {
            const auto alike = byCapitals.find(UpperCase(name));
            if (alike != byCapitals.end()) found = alike->second;
        }
        paths.push_back(host + "/" + found);
    }
    return paths;
}
