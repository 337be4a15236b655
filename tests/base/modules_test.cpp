#include "platform/base/modules.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/base/lasterror.h"
#include "tests/support/device_root.h"
#include "tests/support/pipe_reader.h"

namespace {
int g_hookCalls = 0;
void FakeSetWindowsHook() { ++g_hookCalls; }

template <class Function>
Function As(FARPROC address) {
    return reinterpret_cast<Function>(address);
}
}  // namespace

TEST(Modules, BuiltinModulesAreFoundByNameInAnyCaseAndNeverUnloaded) {
    RegisterBuiltinModule(u"testcore.dll", {{"SetWindowsHookExW", &FakeSetWindowsHook}});
    RegisterBuiltinModule(u"TestCore.dll", {{"UnhookWindowsHookEx", &FakeSetWindowsHook}});
    HMODULE module = LoadLibraryW(u"TESTCORE.DLL");
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(LoadLibraryW(u"\\Windows\\testcore"), module);  // any folder, extension implied
    FARPROC hook = GetProcAddressW(module, u"SetWindowsHookExW");
    ASSERT_NE(hook, nullptr);
    const int callsBefore = g_hookCalls;
    hook();
    EXPECT_EQ(g_hookCalls, callsBefore + 1);
    EXPECT_NE(GetProcAddress(module, "UnhookWindowsHookEx"), nullptr);  // both registrations count
    EXPECT_EQ(GetProcAddress(module, "CallNextHookEx"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_TRUE(FreeLibrary(module));
    EXPECT_EQ(GetModuleHandleW(u"testcore.dll"), module);
    char16_t path[64];
    EXPECT_EQ(GetModuleFileNameW(module, path, 64), 21u);
    EXPECT_EQ(std::u16string(path), u"\\Windows\\testcore.dll");
}

TEST(Modules, ASharedObjectIsLoadedFromTheApplicationFolderAndCounted) {
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42"));
    std::filesystem::copy_file(SAMPLE_MODULE_PATH, root.HostPath("NandFlash/zeta42/SMApi_WinCE.dll"));

    EXPECT_EQ(LoadLibraryW(u"\\NandFlash\\zeta42\\Missing.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    HMODULE first = LoadLibraryW(u"\\nandflash\\ZETA42\\smapi_wince.DLL");
    ASSERT_NE(first, nullptr);
    HMODULE second = LoadLibraryW(u"SMApi_WinCE.dll");  // relative: the application folder
    EXPECT_EQ(second, first);
    auto add = As<int (*)(int, int)>(GetProcAddressW(first, u"SampleAdd"));
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    EXPECT_EQ(As<int (*)()>(GetProcAddress(first, "SampleVersion"))(), 8);
    EXPECT_EQ(GetProcAddress(first, "NoSuchFunction"), nullptr);

    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(As<int (*)()>(GetProcAddress(first, "SampleVersion"))(), 8);  // one load still holds it
    EXPECT_TRUE(FreeLibrary(second));
    EXPECT_EQ(GetModuleHandleW(u"SMApi_WinCE.dll"), nullptr);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    root.PutFile("NandFlash/zeta42/Broken.dll", "not a program library");
    EXPECT_EQ(LoadLibraryW(u"Broken.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}

// The loader is handed only a plain file (a link to one is followed): a
// pipe in a library's place would keep it waiting for ever.
TEST(Modules, OnlyAPlainFileIsLoadedAndAPipeIsNotWaitedOn) {
    ScopedDeviceRoot root;
    std::filesystem::create_directories(root.HostPath("NandFlash/zeta42/Folder.dll"));
    std::filesystem::create_symlink(SAMPLE_MODULE_PATH, root.HostPath("NandFlash/zeta42/Linked.dll"));
    HMODULE linked = LoadLibraryW(u"Linked.dll");
    EXPECT_NE(linked, nullptr);
    EXPECT_TRUE(FreeLibrary(linked));
    EXPECT_EQ(LoadLibraryW(u"Folder.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    HMODULE piped = nullptr;
    EXPECT_TRUE(ReturnsWithoutAWriter(root.HostPath("NandFlash/zeta42/Piped.dll"), [&] {
        piped = LoadLibraryW(u"Piped.dll");
    }));
    EXPECT_EQ(piped, nullptr);
}

TEST(Modules, TheProgramReportsItsDevicePath) {
    char16_t path[256];
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, 256), 29u);
    EXPECT_EQ(std::u16string(path), u"\\NandFlash\\zeta42\\Quillon.exe");
    EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), path, 10), 9u);
    EXPECT_EQ(std::u16string(path), u"\\NandFlas");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}
