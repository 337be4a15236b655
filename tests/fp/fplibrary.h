// The fingerprint libraries of the build, loaded as the terminal loads them,
// and synthetic presses for the tests.
#pragma once

#include <dlfcn.h>

#include <string>
#include <vector>

#include "platform/fp/fpapi.h"
#include "platform/fp/greyimage.h"

class FpLibrary {
public:
    explicit FpLibrary(const std::string& fileName)
        : m_handle(::dlopen((std::string(FP_LIBRARY_DIR) + "/" + fileName).c_str(), RTLD_NOW | RTLD_LOCAL)) {}
    ~FpLibrary() {
        if (m_handle) ::dlclose(m_handle);
    }
    FpLibrary(const FpLibrary&) = delete;
    FpLibrary& operator=(const FpLibrary&) = delete;

    bool Loaded() const { return m_handle != nullptr; }
    template <class F>
    F Get(const char* name) const {
        return m_handle ? reinterpret_cast<F>(::dlsym(m_handle, name)) : nullptr;
    }

private:
    void* m_handle;
};

// The three libraries under their plain names.
struct FpLibraries {
    FpLibrary sensor{"SMControl_WinCE.dll"};
    FpLibrary process{"SMProcess_WinCE.dll"};
    FpLibrary match{"SMApi_WinCE.dll"};

    // The template of one press of a synthetic finger, as the terminal makes
    // it from a generation-8 sensor image; empty when extraction fails.
    std::vector<BYTE> Template(uint32_t finger, uint32_t impression) const;
    std::vector<BYTE> Template(const GreyImage& image) const;
};
