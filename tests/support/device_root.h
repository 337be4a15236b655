// A fresh, empty device root for one test, removed afterwards; the root in
// use before comes back (with its registry).
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/base/device_fs.h"

class ScopedDeviceRoot {
public:
    ScopedDeviceRoot() : m_previous(GetDeviceRoot()) {
        std::string pattern = (std::filesystem::temp_directory_path() / "quillon-root-XXXXXX").string();
        m_host = mkdtemp(pattern.data());
        SetDeviceRoot(m_host);
    }
    ~ScopedDeviceRoot() {
        SetDeviceRoot(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_host, ignored);
    }
    ScopedDeviceRoot(const ScopedDeviceRoot&) = delete;
    ScopedDeviceRoot& operator=(const ScopedDeviceRoot&) = delete;

    const std::string& Host() const { return m_host; }
    // Host path of a path below the root written with '/'.
    std::string HostPath(const std::string& relative) const { return m_host + "/" + relative; }

    // Creates a host file (and its folders) with `content`.
    void PutFile(const std::string& relative, const std::string& content) const {
        const std::filesystem::path path = HostPath(relative);
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
    }
    std::string ReadFile(const std::string& relative) const {
        std::ifstream file(HostPath(relative), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }

private:
    std::string m_previous;
    std::string m_host;
};
