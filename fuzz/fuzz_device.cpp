#include "fuzz/fuzz_device.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "core/FpLibraries.h"
#include "data/DataStoreServices.h"
#include "platform/base/device_fs.h"

namespace fs = std::filesystem;

namespace {

constexpr char kAppFolder[] = "/NandFlash/zeta42/";

std::string MakeRoot() {
    const char* base = fs::exists("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = std::string(base) + "/quillon-fuzz-XXXXXX";
    const std::string root = mkdtemp(pattern.data());
    for (const char* folder : {"DB", "config", "LANG"}) fs::create_directories(root + kAppFolder + folder);
    SetDeviceRoot(root);
    std::atexit([] {
        std::error_code ignored;
        fs::remove_all(FuzzDeviceRoot(), ignored);
    });
    return root;
}

}  // namespace

const std::string& FuzzDeviceRoot() {
    // Never destroyed: the exit handler that removes the folder reads it.
    static const std::string* root = new std::string(MakeRoot());
    return *root;
}

std::string FuzzAppFile(const std::string& relative) { return FuzzDeviceRoot() + kAppFolder + relative; }

void WriteFuzzFile(const std::string& hostPath, const uint8_t* data, size_t size) {
    std::ofstream(hostPath, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

void LoadFuzzFpLibraries() {
    static const bool loaded = [] {
        for (const char* name : {"SMControl_WinCE.dll", "SMProcess_WinCE.dll", "SMApi_WinCE.dll"})
            fs::copy_file(std::string(FP_LIBRARY_DIR) + "/" + name, FuzzAppFile(name),
                          fs::copy_options::overwrite_existing);
        if (!LoadFpControlDll() || !LoadFpProcessDll() || !LoadFpMatchDll()) std::abort();
        g_DataStoreServices.SMCVersion = g_FpLib.SMCVersion;
        g_DataStoreServices.VeltoTempToFPRECORD = g_FpLib.VeltoTempToFPRECORD;
        g_DataStoreServices.VeltoAutoUpFP = g_FpLib.VeltoAutoUpFP;
        return true;
    }();
    (void)loaded;
}
