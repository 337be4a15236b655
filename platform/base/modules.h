// Program libraries: LoadLibrary opens a shared object found by its device
// path (dlopen), GetProcAddress looks a function up in it (dlsym). Modules
// the platform provides itself ("coredll.dll") are registered by name and
// found before any file.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/base/types.h"

#define ERROR_BAD_EXE_FORMAT 193L

// Makes `name` (a file name such as u"coredll.dll", any case) loadable with
// these exports. Registering a name again adds to its exports (several
// layers contribute to "coredll.dll"); an export named again is replaced.
void RegisterBuiltinModule(std::u16string_view name, std::vector<std::pair<std::string, FARPROC>> exports);

// A name without a folder is looked for in the application folder; a name
// without an extension gets ".dll". Loading a module again returns the same
// handle and counts one more load; FreeLibrary undoes one load.
HMODULE LoadLibraryW(LPCWSTR name);
BOOL FreeLibrary(HMODULE module);
FARPROC GetProcAddress(HMODULE module, LPCSTR name);
FARPROC GetProcAddressW(HMODULE module, LPCWSTR name);
// Null asks for the program itself. Does not count a load.
HMODULE GetModuleHandleW(LPCWSTR name);
// The device path of a module; null or the program gives the program's path.
// Returns the characters copied without the terminating zero.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);

// A function looked up by name, as the pointer type the caller knows it by.
template <class Proc>
Proc ProcAs(FARPROC proc) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(proc));
}
// A function offered as an export.
template <class Proc>
FARPROC AsFarProc(Proc proc) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(proc));
}

inline HMODULE LoadLibrary(LPCWSTR name) { return LoadLibraryW(name); }
inline FARPROC GetProcAddress(HMODULE module, LPCWSTR name) { return GetProcAddressW(module, name); }
inline HMODULE GetModuleHandle(LPCWSTR name) { return GetModuleHandleW(name); }
inline DWORD GetModuleFileName(HMODULE module, LPWSTR buffer, DWORD size) {
    return GetModuleFileNameW(module, buffer, size);
}
