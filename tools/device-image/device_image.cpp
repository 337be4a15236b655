#include "tools/device-image/device_image.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/base/atomic_file.h"
#include "platform/base/host_read.h"
#include "platform/base/registry_format.h"

namespace factory {
namespace {

namespace fs = std::filesystem;

BuildResult Failed(const std::string& error) {
    return {false, error, {}};
}

BuildResult Succeeded() {
    return {true, {}, {}};
}

// Files of the image that the terminal itself changes as it is used: a
// repair keeps them as they stand and writes only the ones that are missing.
constexpr char kRegistryFile[] = "registry.reg";
constexpr char kSettingsFile[] = "NandFlash/zeta42/config/config.xml";
constexpr std::array<const char*, 4> kTerminalFiles = {
    kRegistryFile,
    kSettingsFile,
    "NandFlash/zeta42/DB/KD4700.DB",
    "NandFlash/zeta42/DB/back/KD4700.bak",
};

bool IsTerminalFile(const fs::path& relative) {
    const std::string name = relative.generic_string();
    for (const char* kept : kTerminalFiles)
        if (name == kept) return true;
    return false;
}

// Writes `from` over `to` through a temporary name, on disk before it takes
// the name, so a cut at any moment leaves the old file or the new one.
void ReplaceFile(const fs::path& from, const fs::path& to, std::error_code& ec) {
    const int source = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (source < 0 || fstat(source, &st) != 0 || !ReplaceHostFileFrom(source, to.string(), st.st_mode & 07777))
        ec = std::error_code(errno, std::generic_category());
    if (source >= 0) ::close(source);
}

// The temporaries a cut write left beside `file`: those of the replace, and
// the ".partial" files earlier builds wrote through.
void RemoveStaleCopies(const fs::path& file) {
    RemoveStaleTemporaries(file.string());
    fs::path partial = file;
    partial += ".partial";
    std::error_code ignored;
    if (fs::is_regular_file(fs::symlink_status(partial, ignored))) fs::remove(partial, ignored);
}

// Moves `file` to the first free name of `file`.damaged, .damaged.2, ...,
// never over an existing file; the name taken, or empty with `ec` set.
fs::path MoveAside(const fs::path& file, std::error_code& ec) {
    for (int attempt = 1;; ++attempt) {
        fs::path aside = file;
        aside += ".damaged";
        if (attempt > 1) aside += "." + std::to_string(attempt);
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, aside.c_str(), RENAME_NOREPLACE) == 0) return aside;
        if (errno != EEXIST) {
            ec = std::error_code(errno, std::generic_category());
            return {};
        }
    }
}

bool PlainFileReads(const std::string& file) {
    std::string content;
    return ReadPlainHostFile(file, content, kMaxTextFileBytes) == HostRead::Read;
}

// As the terminal loads it: a key beyond the registry's limits makes the
// whole file damaged.
bool RegistryFileReads(const std::string& file) {
    std::string content;
    bool beyondLimits = false;
    if (ReadPlainHostFile(file, content, kMaxTextFileBytes) != HostRead::Read) return false;
    ParseRegistry(content, &beyondLimits);
    return !beyondLimits;
}

// A file of the terminal that is there and that it cannot read is kept aside
// for a person to look at; the loop below then writes the factory one in its
// place. False, with `result` failed, when it cannot be moved.
bool SetAsideIfUnreadable(const fs::path& destination, const std::string& target, const char* relative,
                          const SettingsCheck& reads, const char* factoryContent, BuildResult& result) {
    const fs::path file = destination / relative;
    const std::string shown = (fs::path(target) / relative).string();
    std::error_code ec;
    if (!fs::exists(fs::symlink_status(file, ec)) || reads(file.string())) return true;
    const fs::path aside = MoveAside(file, ec);
    if (ec) {
        result = Failed("cannot keep the unreadable " + shown + " aside: " + ec.message());
        return false;
    }
    result.notes.push_back(shown + " could not be read: kept as " + aside.filename().string() + ", " +
                           factoryContent + " written in its place");
    return true;
}

BuildResult SetAsideUnreadableFiles(const fs::path& destination, const std::string& target,
                                    const SettingsCheck& settingsReadable) {
    BuildResult result = Succeeded();
    const auto settingsRead = [&settingsReadable](const std::string& path) {
        return PlainFileReads(path) && (!settingsReadable || settingsReadable(path));
    };
    if (SetAsideIfUnreadable(destination, target, kRegistryFile, RegistryFileReads, "the factory registry is", result))
        SetAsideIfUnreadable(destination, target, kSettingsFile, settingsRead, "the factory settings are", result);
    return result;
}

// Copies the image into `destination`, which may hold a device folder: with
// `keepTerminalFiles`, the terminal's own files there are kept and written
// only where missing. Every folder is on disk once it returns.
BuildResult CopyImage(const fs::path& source, const fs::path& destination, const std::string& target,
                      bool keepTerminalFiles) {
    std::error_code ec;
    std::vector<fs::path> folders = {destination};
    for (fs::recursive_directory_iterator it(source, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path relative = it->path().lexically_relative(source);
        const fs::path to = destination / relative;
        if (it->is_directory(ec)) {
            fs::create_directories(to, ec);
            folders.push_back(to);
        } else {
            RemoveStaleCopies(to);
            if (!keepTerminalFiles || !IsTerminalFile(relative) || !fs::exists(to)) ReplaceFile(it->path(), to, ec);
        }
        if (ec) return Failed("cannot write " + (fs::path(target) / relative).string() + ": " + ec.message());
    }
    if (ec) return Failed("cannot read the factory image " + source.string() + ": " + ec.message());
    // A new folder's name is in its parent only once the parent is synced.
    for (const fs::path& folder : folders)
        if (!SyncHostFolder(folder.string()))
            return Failed("cannot write " + target + ": " + std::generic_category().message(errno));
    return Succeeded();
}

// Puts every program file of the image back into `destination` and keeps
// the terminal's own files (and anything the image does not ship).
BuildResult RepairDeviceImage(const fs::path& source, const fs::path& destination, const std::string& target,
                              const SettingsCheck& settingsReadable) {
    BuildResult repaired = SetAsideUnreadableFiles(destination, target, settingsReadable);
    if (!repaired.ok) return repaired;
    const BuildResult copied = CopyImage(source, destination, target, true);
    return copied.ok ? repaired : copied;
}

}  // namespace

std::string FactoryImageSource() {
    return QUILLON_FACTORY_IMAGE_DIR;
}

BuildResult BuildDeviceImage(const std::string& target, bool force, const SettingsCheck& settingsReadable) {
    const fs::path source = FactoryImageSource();
    std::error_code ec;
    if (!fs::is_regular_file(source / "registry.reg", ec))
        return Failed("the factory image has not been built: " + source.string() + " is incomplete");
    fs::path destination = fs::absolute(target, ec).lexically_normal();
    if (ec) return Failed(target + ": " + ec.message());
    if (!destination.has_filename()) destination = destination.parent_path();
    const bool exists = fs::exists(destination, ec);
    if (exists && !force)
        return Failed(target + " already exists; use --force to repair it (the program files are put back, the "
                               "database, registry, settings, photos, snapshots and log are kept)");
    if (exists) {
        if (!fs::is_directory(destination, ec)) return Failed(target + " is not a folder");
        return RepairDeviceImage(source, destination, target, settingsReadable);
    }
    // Assembled beside its place and renamed into it whole; a stale one of
    // a cut build goes first.
    fs::path partial = destination;
    partial += ".partial";
    fs::remove_all(partial, ec);
    if (!ec) fs::create_directories(partial, ec);
    if (ec) return Failed("cannot write " + target + ": " + ec.message());
    const BuildResult copied = CopyImage(source, partial, target, false);
    if (copied.ok) fs::rename(partial, destination, ec);
    if (copied.ok && !ec && !SyncHostFolder(destination.parent_path().string()))
        ec = std::error_code(errno, std::generic_category());
    if (!copied.ok || ec) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        return copied.ok ? Failed("cannot write " + target + ": " + ec.message()) : copied;
    }
    return Succeeded();
}

}  // namespace factory
