#include "tools/device-image/device_image.h"

#include <filesystem>
#include <system_error>

namespace factory {
namespace {

namespace fs = std::filesystem;

BuildResult Failed(const std::string& error) {
    return {false, error};
}

}  // namespace

std::string FactoryImageSource() {
    return QUILLON_FACTORY_IMAGE_DIR;
}

BuildResult BuildDeviceImage(const std::string& target, bool force) {
    const fs::path source = FactoryImageSource();
    std::error_code ec;
    if (!fs::is_regular_file(source / "registry.reg", ec))
        return Failed("the factory image has not been built: " + source.string() + " is incomplete");
    fs::path destination = fs::absolute(target, ec).lexically_normal();
    if (ec) return Failed(target + ": " + ec.message());
    if (!destination.has_filename()) destination = destination.parent_path();
    const bool exists = fs::exists(destination, ec);
    if (exists && !force) return Failed(target + " already exists; use --force to write the factory files over it");
    if (exists) {
        if (!fs::is_directory(destination, ec)) return Failed(target + " is not a folder");
        fs::copy(source, destination, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
        if (ec) return Failed("cannot write " + target + ": " + ec.message());
        return {true, {}};
    }
    fs::path partial = destination;
    partial += ".partial";
    fs::remove_all(partial, ec);
    fs::create_directories(partial.parent_path(), ec);
    fs::copy(source, partial, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(partial, destination, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        return Failed("cannot write " + target + ": " + ec.message());
    }
    return {true, {}};
}

}  // namespace factory
