// Reading the terminal's own files whole: a link to a plain file is read as
// the file, anything else a link may lead to is refused without waiting,
// and so is a file beyond the reader's limit.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/host_read.h"
#include "tests/support/device_root.h"

namespace {

class HostReadTest : public ::testing::Test {
protected:
    void SetUp() override {
        root.PutFile("plain", "text");
        std::filesystem::create_symlink(root.HostPath("plain"), root.HostPath("link"));
        std::filesystem::create_symlink("link", root.HostPath("link-to-link"));
        std::filesystem::create_symlink(root.HostPath("gone"), root.HostPath("dangling"));
        std::filesystem::create_directories(root.HostPath("folder"));
        std::filesystem::create_symlink(root.HostPath("folder"), root.HostPath("link-to-folder"));
        ASSERT_EQ(mkfifo(root.HostPath("pipe").c_str(), 0600), 0);
        std::filesystem::create_symlink(root.HostPath("pipe"), root.HostPath("link-to-pipe"));
        std::filesystem::create_symlink("/dev/zero", root.HostPath("link-to-device"));
    }
    std::string Host(const char* name) const { return root.HostPath(name); }

    ScopedDeviceRoot root;
};

TEST_F(HostReadTest, ALinkToAPlainFileReadsAsTheFile) {
    for (const char* name : {"plain", "link", "link-to-link"}) {
        SCOPED_TRACE(name);
        std::string text;
        EXPECT_EQ(ReadPlainHostFile(Host(name), text, 4), HostRead::Read);
        EXPECT_EQ(text, "text");
        std::vector<uint8_t> bytes;
        EXPECT_EQ(ReadPlainHostFile(Host(name), bytes, 4), HostRead::Read);
        EXPECT_EQ(bytes.size(), 4u);
        EXPECT_EQ(CheckPlainHostFile(Host(name), 4), HostRead::Read);
    }
}

// A pipe among them: reaching this test's end at all shows none was waited on.
TEST_F(HostReadTest, WhatIsNoPlainFileOnceFollowedIsRefusedAsSuchAndNeverRead) {
    for (const char* name : {"folder", "link-to-folder", "pipe", "link-to-pipe", "link-to-device"}) {
        SCOPED_TRACE(name);
        std::string text = "stale";
        EXPECT_EQ(ReadPlainHostFile(Host(name), text, SIZE_MAX), HostRead::NotAFile);
        EXPECT_TRUE(text.empty());
        HostRead outcome = HostRead::Read;
        EXPECT_EQ(OpenPlainHostFile(Host(name), SIZE_MAX, outcome), -1);
        EXPECT_EQ(outcome, HostRead::NotAFile);
    }
    for (const char* name : {"gone", "dangling", "folder/gone", "plain/below"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(CheckPlainHostFile(Host(name), SIZE_MAX), HostRead::Missing);
    }
}

TEST_F(HostReadTest, AFileBeyondTheLimitIsRefusedAndOneAtItIsRead) {
    std::string text = "stale";
    EXPECT_EQ(ReadPlainHostFile(Host("link"), text, 3), HostRead::TooLarge);
    EXPECT_TRUE(text.empty());
    EXPECT_EQ(CheckPlainHostFile(Host("plain"), 3), HostRead::TooLarge);
    EXPECT_EQ(ReadPlainHostFile(Host("plain"), text, 4), HostRead::Read);
}

}  // namespace
