// A second process must find the named mutex of the first one.
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/base/device_fs.h"
#include "platform/base/lasterror.h"
#include "platform/base/sync.h"
#include "platform/base/utf.h"
#include "tests/support/device_root.h"

namespace {

constexpr char kNameVariable[] = "QUILLON_TEST_MUTEX_NAME";
constexpr char kRootVariable[] = "QUILLON_TEST_MUTEX_ROOT";
constexpr int kChildFoundIt = 10;
constexpr int kChildCreatedIt = 20;

// Runs this test program again, as a second process on device root `root`,
// on the child test below.
int RunChildProcess(const std::string& name, const std::string& root) {
    pid_t pid = fork();
    if (pid == 0) {
        setenv(kNameVariable, name.c_str(), 1);
        setenv(kRootVariable, root.c_str(), 1);
        char filter[] = "--gtest_filter=NamedMutexChild.*";
        char* argv[] = {const_cast<char*>("test_platform_base"), filter, nullptr};
        execv("/proc/self/exe", argv);
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(NamedMutexChild, ReportsWhetherTheNameExisted) {
    const char* name = std::getenv(kNameVariable);
    if (!name) GTEST_SKIP() << "runs only as the second process of NamedMutex tests";
    SetDeviceRoot(std::getenv(kRootVariable));
    HANDLE mutex = CreateMutex(nullptr, FALSE, Utf8ToUtf16(name).c_str());
    bool existed = mutex && GetLastError() == static_cast<DWORD>(ERROR_ALREADY_EXISTS);
    std::_Exit(existed ? kChildFoundIt : kChildCreatedIt);
}

TEST(NamedMutex, SecondProcessOnTheSameDeviceSeesTheNameWhileTheFirstHoldsIt) {
    ScopedDeviceRoot otherRoot;
    ScopedDeviceRoot root;  // the root in use
    std::string name = "single-instance-test-" + std::to_string(getpid());
    std::u16string wide = Utf8ToUtf16(name);
    HANDLE mutex = CreateMutex(nullptr, FALSE, wide.c_str());
    ASSERT_NE(mutex, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));

    HANDLE again = CreateMutex(nullptr, FALSE, wide.c_str());
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    CloseHandle(again);

    EXPECT_EQ(RunChildProcess(name, root.Host()), kChildFoundIt);
    EXPECT_EQ(RunChildProcess("other-" + name, root.Host()), kChildCreatedIt);
    EXPECT_EQ(RunChildProcess(name, otherRoot.Host()), kChildCreatedIt) << "another device root, another terminal";
    CloseHandle(mutex);
    EXPECT_EQ(RunChildProcess(name, root.Host()), kChildCreatedIt) << "the name is free once its last handle closed";
}

}  // namespace
