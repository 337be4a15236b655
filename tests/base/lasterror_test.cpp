#include "platform/base/lasterror.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <thread>

TEST(LastError, IsPerThread) {
    SetLastError(ERROR_ALREADY_EXISTS);
    DWORD seenByOther = 1;
    std::thread([&] { seenByOther = GetLastError(); }).join();
    EXPECT_EQ(seenByOther, static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}

TEST(LastError, MapsHostErrors) {
    EXPECT_EQ(ErrorFromErrno(ENOENT), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(ErrorFromErrno(ENOSPC), static_cast<DWORD>(ERROR_DISK_FULL));
    EXPECT_EQ(ErrorFromErrno(EEXIST), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
}
