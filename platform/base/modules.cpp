#include "platform/base/modules.h"

#include <dlfcn.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"
#include "platform/base/lasterror.h"
#include "platform/base/nocase.h"
#include "platform/base/utf.h"

namespace {

// HMODULE is the address of one of these.
struct Module {
    std::u16string devicePath;
    std::string hostPath;
    void* library = nullptr;  // null for built-in modules and the program
    std::map<std::string, FARPROC> exports;
    int loads = 0;
};

constexpr char16_t kBuiltinFolder[] = u"\\Windows\\";

std::mutex g_modulesLock;

Module& ProgramModule() {
    static Module program{kProgramPath, {}, nullptr, {}, 1};
    return program;
}

// Built-in modules by upper-cased file name.
std::map<std::u16string, std::unique_ptr<Module>>& BuiltinModules() {
    static std::map<std::u16string, std::unique_ptr<Module>> modules;
    return modules;
}

// Loaded shared objects by host path.
std::map<std::string, std::unique_ptr<Module>>& LoadedModules() {
    static std::map<std::string, std::unique_ptr<Module>> modules;
    return modules;
}

std::u16string FileNameOf(std::u16string_view path) {
    const size_t slash = path.find_last_of(u"\\/");
    return std::u16string(slash == std::u16string_view::npos ? path : path.substr(slash + 1));
}

std::u16string WithExtension(std::u16string_view name) {
    std::u16string result(name);
    if (FileNameOf(name).find(u'.') == std::u16string::npos) result += u".dll";
    return result;
}

std::u16string DevicePathOfModule(std::u16string_view name) {
    if (!name.empty() && (name[0] == u'\\' || name[0] == u'/')) return std::u16string(name);
    return kAppDir + std::u16string(name);
}

// Modules known by `name`, built-in first. Lock held.
Module* FindModule(const std::u16string& name) {
    auto builtin = BuiltinModules().find(UpperCase(FileNameOf(name)));
    if (builtin != BuiltinModules().end()) return builtin->second.get();
    auto loaded = LoadedModules().find(DeviceToHostPath(DevicePathOfModule(name)));
    return loaded == LoadedModules().end() ? nullptr : loaded->second.get();
}

bool IsKnownModule(const Module* module) {
    if (module == &ProgramModule()) return true;
    for (const auto& [name, builtin] : BuiltinModules())
        if (builtin.get() == module) return true;
    for (const auto& [path, loaded] : LoadedModules())
        if (loaded.get() == module) return true;
    return false;
}

HMODULE HandleOf(Module* module) { return reinterpret_cast<HMODULE>(module); }

// The module behind a handle (null: the program), or null with
// ERROR_INVALID_HANDLE for one that is not loaded. Lock held.
Module* ModuleOf(HMODULE handle) {
    auto* module = handle ? reinterpret_cast<Module*>(handle) : &ProgramModule();
    if (IsKnownModule(module)) return module;
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
}

}  // namespace

void RegisterBuiltinModule(std::u16string_view name, std::vector<std::pair<std::string, FARPROC>> exports) {
    std::lock_guard<std::mutex> lock(g_modulesLock);
    auto& module = BuiltinModules()[UpperCase(name)];
    if (!module) {
        module = std::make_unique<Module>();
        module->devicePath = kBuiltinFolder + std::u16string(name);
    }
    for (auto& [exportName, address] : exports) module->exports[exportName] = address;
}

HMODULE LoadLibraryW(LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    const std::u16string fullName = WithExtension(name);
    std::lock_guard<std::mutex> lock(g_modulesLock);
    if (Module* known = FindModule(fullName)) {
        ++known->loads;
        SetLastError(ERROR_SUCCESS);
        return HandleOf(known);
    }
    const std::u16string devicePath = DevicePathOfModule(fullName);
    const std::string hostPath = DeviceToHostPath(devicePath);
    // The loader would wait for ever on a pipe in the library's place; a
    // library is mapped, not read, so its size is the loader's to judge.
    if (CheckPlainHostFile(hostPath, SIZE_MAX) != HostRead::Read) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    void* library = dlopen(hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    auto& module = LoadedModules()[hostPath];
    module = std::make_unique<Module>(Module{devicePath, hostPath, library, {}, 1});
    SetLastError(ERROR_SUCCESS);
    return HandleOf(module.get());
}

BOOL FreeLibrary(HMODULE handle) {
    std::lock_guard<std::mutex> lock(g_modulesLock);
    Module* module = handle ? ModuleOf(handle) : nullptr;
    if (!module || module == &ProgramModule()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Built-in modules stay: they are part of the platform.
    if (--module->loads <= 0 && module->library) {
        dlclose(module->library);
        LoadedModules().erase(module->hostPath);
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

FARPROC GetProcAddress(HMODULE handle, LPCSTR name) {
    std::lock_guard<std::mutex> lock(g_modulesLock);
    Module* module = handle ? ModuleOf(handle) : nullptr;
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    FARPROC address = nullptr;
    // Look-ups by ordinal (a small number in place of a name) are not offered.
    if (name && reinterpret_cast<uintptr_t>(name) > 0xFFFF) {
        if (module->library) {
            address = reinterpret_cast<FARPROC>(dlsym(module->library, name));
        } else {
            auto it = module->exports.find(name);
            if (it != module->exports.end()) address = it->second;
        }
    }
    SetLastError(address ? ERROR_SUCCESS : ERROR_PROC_NOT_FOUND);
    return address;
}

FARPROC GetProcAddressW(HMODULE module, LPCWSTR name) {
    if (!name || reinterpret_cast<uintptr_t>(name) <= 0xFFFF) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return GetProcAddress(module, Utf16ToUtf8(name).c_str());
}

HMODULE GetModuleHandleW(LPCWSTR name) {
    std::lock_guard<std::mutex> lock(g_modulesLock);
    Module* module = name ? FindModule(WithExtension(name)) : &ProgramModule();
    SetLastError(module ? ERROR_SUCCESS : ERROR_MOD_NOT_FOUND);
    return HandleOf(module);
}

DWORD GetModuleFileNameW(HMODULE handle, LPWSTR buffer, DWORD size) {
    std::u16string path;
    {
        std::lock_guard<std::mutex> lock(g_modulesLock);
        Module* module = ModuleOf(handle);
        if (!module) return 0;
        path = module->devicePath;
    }
    if (!buffer || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const DWORD copied = std::min<DWORD>(static_cast<DWORD>(path.size()), size - 1);
    std::copy_n(path.begin(), copied, buffer);
    buffer[copied] = u'\0';
    SetLastError(copied < path.size() ? ERROR_INSUFFICIENT_BUFFER : ERROR_SUCCESS);
    return copied;
}
