#include "tests/device-image/image_files.h"

#include <atomic>
#include <cctype>
#include <fstream>
#include <sstream>
#include <random>

namespace imagetest {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    path_ = fs::temp_directory_path() /
            ("device-image-test-" + std::to_string(std::random_device{}()) + "-" + std::to_string(counter++));
    fs::remove_all(path_);
    fs::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

namespace {

std::string Lower(std::string text) {
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

}  // namespace

fs::path Resolve(const fs::path& root, const std::string& devicePath) {
    fs::path current = root;
    std::stringstream parts(devicePath);
    std::string part;
    while (std::getline(parts, part, '\\')) {
        if (part.empty()) continue;
        bool found = false;
        std::error_code ec;
        for (const fs::directory_entry& entry : fs::directory_iterator(current, ec)) {
            if (Lower(entry.path().filename().string()) == Lower(part)) {
                current = entry.path();
                found = true;
                break;
            }
        }
        if (!found) return {};
    }
    return current;
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

fs::path FactoryImage() {
    return QUILLON_FACTORY_IMAGE_DIR;
}

}  // namespace imagetest
