#include "platform/base/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/base/files.h"
#include "platform/base/lasterror.h"
#include "tests/support/device_root.h"

namespace {
void DieAtFirstWrite(AtomicStage stage) {
    if (stage == AtomicStage::Wrote) _exit(0);
}

size_t EntriesIn(const std::string& folder) {
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}
}  // namespace

TEST(AtomicFile, ReplacesContentAndKeepsThePermissions) {
    ScopedDeviceRoot root;
    root.PutFile("NandFlash/zeta42/config/config.xml", "<old/>");
    chmod(root.HostPath("NandFlash/zeta42/config/config.xml").c_str(), 0640);
    ASSERT_TRUE(ReplaceFileContents(u"\\nandflash\\ZETA42\\Config\\CONFIG.XML", "<new/>", 6));
    EXPECT_EQ(root.ReadFile("NandFlash/zeta42/config/config.xml"), "<new/>");
    struct stat st;
    ASSERT_EQ(stat(root.HostPath("NandFlash/zeta42/config/config.xml").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(EntriesIn(root.HostPath("NandFlash/zeta42/config")), 1u);

    EXPECT_FALSE(ReplaceFileContents(u"\\missing\\file.xml", "x", 1));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST(AtomicFile, ACopyKilledHalfWayLeavesTheOldFile) {
    ScopedDeviceRoot root;
    root.PutFile("DB/back/KD4700.bak", std::string(300 * 1024, 'n'));
    root.PutFile("DB/KD4700.DB", "old database");
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetAtomicStageHook(DieAtFirstWrite);
        CopyFileW(u"\\DB\\back\\KD4700.bak", u"\\DB\\KD4700.DB", FALSE);
        _exit(1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_EQ(WEXITSTATUS(status), 0) << "the copy never wrote";

    EXPECT_EQ(root.ReadFile("DB/KD4700.DB"), "old database");
    EXPECT_EQ(EntriesIn(root.HostPath("DB")), 3u);  // the dead copy's temporary
    RemoveStaleTemporaries(root.HostPath("DB/KD4700.DB"));
    EXPECT_EQ(EntriesIn(root.HostPath("DB")), 2u);
    EXPECT_EQ(root.ReadFile("DB/back/KD4700.bak").size(), 300u * 1024);
}

// The process ends while one replace is half-way: its temporary goes, its
// target stays old, and what was committed stays new.
TEST(AtomicFile, AnEndHalfWayRemovesTheUnfinishedTemporaryAndLeavesTheOldFile) {
    ScopedDeviceRoot root;
    root.PutFile("DB/back/KD4700.bak", "old backup");
    root.PutFile("DB/back/KD4700.cfg", "old settings");
    AtomicFileWriter done(root.HostPath("DB/back/KD4700.cfg"));
    ASSERT_TRUE(done.Write("new settings", 12) && done.Commit());
    AtomicFileWriter halfWay(root.HostPath("DB/back/KD4700.bak"));
    ASSERT_TRUE(halfWay.Write("new ba", 6));
    ASSERT_EQ(EntriesIn(root.HostPath("DB/back")), 3u);

    RemoveUnfinishedTemporaries();
    EXPECT_EQ(EntriesIn(root.HostPath("DB/back")), 2u);
    EXPECT_EQ(root.ReadFile("DB/back/KD4700.bak"), "old backup");
    EXPECT_EQ(root.ReadFile("DB/back/KD4700.cfg"), "new settings");
    EXPECT_FALSE(halfWay.Commit()) << "its temporary is gone";
    EXPECT_EQ(root.ReadFile("DB/back/KD4700.bak"), "old backup");
}

TEST(AtomicFile, TheTemporariesOfAFolderGoAndItsFilesStay) {
    ScopedDeviceRoot root;
    for (const char* name : {"1.jpg", "1.jpg.~tmpabc123", "2.jpg.~tmpxyz789", "3.jpg.~tmp", ".~tmpabcdef"})
        root.PutFile(std::string("ICON/") + name, "x");
    RemoveStaleTemporariesIn(root.HostPath("ICON"));
    EXPECT_TRUE(std::filesystem::exists(root.HostPath("ICON/1.jpg")));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("ICON/1.jpg.~tmpabc123")));
    EXPECT_FALSE(std::filesystem::exists(root.HostPath("ICON/2.jpg.~tmpxyz789")));
    EXPECT_TRUE(std::filesystem::exists(root.HostPath("ICON/3.jpg.~tmp"))) << "no temporary's name";
    EXPECT_TRUE(std::filesystem::exists(root.HostPath("ICON/.~tmpabcdef"))) << "the temporary of no file";
    EXPECT_EQ(EntriesIn(root.HostPath("ICON")), 3u);
}
