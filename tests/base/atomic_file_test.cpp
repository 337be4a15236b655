#include "platform/base/atomic_file.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

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

// A temporary that goes at the first rename of a replace.
const std::string* g_vanishing = nullptr;

void RemoveTheVanishingTemporaryAtTheFirstRename(AtomicStage stage) {
    if (stage != AtomicStage::Renamed || g_vanishing == nullptr) return;
    unlink(g_vanishing->c_str());
    g_vanishing = nullptr;
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

// The temporary of the second of three files goes as the first is renamed:
// the second cannot be put in place, and the third, which goes with it,
// keeps its old content too.
TEST(AtomicFile, FilesCommittedInOrderStopAtTheFirstThatFailsAndTheRestKeepTheirOldContent) {
    ScopedDeviceRoot root;
    const std::vector<std::string> names = {"Bak.zw", "Bak.yg2", "Bak.kq"};
    for (const std::string& name : names) root.PutFile("1/" + name, "old");
    AtomicFileWriter first(root.HostPath("1/Bak.zw")), second(root.HostPath("1/Bak.yg2")),
        third(root.HostPath("1/Bak.kq"));
    for (AtomicFileWriter* writer : {&first, &second, &third}) ASSERT_TRUE(writer->Write("new", 3));
    g_vanishing = &second.TemporaryPath();
    SetAtomicStageHook(RemoveTheVanishingTemporaryAtTheFirstRename);
    const bool committed = CommitInOrder({&first, &second, &third});
    SetAtomicStageHook(nullptr);

    EXPECT_FALSE(committed);
    EXPECT_EQ(second.Error(), ENOENT);
    EXPECT_EQ(root.ReadFile("1/Bak.zw"), "new");
    EXPECT_EQ(root.ReadFile("1/Bak.yg2"), "old");
    EXPECT_EQ(root.ReadFile("1/Bak.kq"), "old") << "a file after the failed one was replaced";
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
