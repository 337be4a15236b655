// The terminal program started as a person starts it, as a process on a
// copy of the factory device root: its exit status and standard error are
// what the tests read.
#pragma once

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/SystemLocks.h"
#include "data/DbSqlite.h"
#include "data/SqlHelpers.h"
#include "platform/ui/imagefile.h"
#include "tests/support/device_root.h"
#include "tests/support/golden.h"
#include "tests/support/wait_until.h"

struct ProgramRun {
    int exitCode = -1;
    std::string errors;  // standard error: message boxes, shell starts, failures
};

// The rows of a start-up screenshot that hold still: the splash's marker,
// moving in real time, lies below them.
inline Surface SplashCalmRows(const Surface& shot) {
    constexpr int kTop = 40, kBottom = 190;
    Surface rows(shot.Width(), kBottom - kTop);
    for (int y = kTop; y < kBottom; ++y) std::copy(shot.Row(y), shot.Row(y) + shot.Width(), rows.Row(y - kTop));
    return rows;
}

// A golden picture of tests/golden as it stands (empty when unreadable),
// for looks compared only in part; never rewritten.
inline Surface GoldenPicture(const std::string& name) {
    std::vector<uint8_t> png;
    Surface picture;
    EXPECT_TRUE(ReadHostFile(GoldenDirectory() + "/" + name + ".png", png) && DecodePng(png, picture)) << name;
    return picture;
}

// How often `part` stands in `text` (a box said more than once, mostly).
inline size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

// The same screen above the bottom bar, which holds whichever hint came last.
inline bool SameAboveTheBar(const Surface& shown, const Surface& expected) {
    constexpr int kAboveBar = 216;
    if (shown.Width() != expected.Width() || shown.Height() < kAboveBar || expected.Height() < kAboveBar) return false;
    for (int y = 0; y < kAboveBar; ++y)
        if (!std::equal(shown.Row(y), shown.Row(y) + shown.Width(), expected.Row(y))) return false;
    return true;
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(root.Host());
        std::filesystem::copy(QUILLON_FACTORY_IMAGE_DIR, root.Host(), std::filesystem::copy_options::recursive);
        InitSystemLocks();  // the test reads the device's database too
    }

    // Runs the program headless on the root with the script's lines.
    ProgramRun Start(const std::string& script, const std::string& extra = "") {
        const std::string scriptPath = root.HostPath("test.script");
        std::ofstream(scriptPath) << script;
        return Launch("--root " + root.Host() + " --headless --script " + scriptPath + " " + extra);
    }
    // Runs the program with exactly these arguments (a shell command
    // line), after `environment` (words for env(1), e.g. "-u DISPLAY").
    ProgramRun Launch(const std::string& arguments, const std::string& environment = "") const {
        const std::string errorsPath = root.HostPath("stderr.txt");
        const std::string command = "env " + environment + " " + program + " " + arguments +
                                    " 2>" + errorsPath;
        ProgramRun run;
        const int status = std::system(command.c_str());
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.errors = ReadHost(errorsPath);
        return run;
    }
    // Runs the program headless and unscripted (in real time) in the
    // background until `until` says it has come far enough (at most 20 s),
    // then ends it; the text of its standard error.
    std::string RunInBackground(const std::function<bool(const std::string& errors)>& until) const {
        const std::string errorsPath = root.HostPath("background.err");
        const std::string pidPath = root.HostPath("background.pid");
        const std::string command = std::string(QUILLON_PROGRAM) + " --root " + root.Host() + " --headless 2>" +
                                    errorsPath + " & echo $! > " + pidPath;
        EXPECT_EQ(std::system(command.c_str()), 0);
        WaitUntil([&] { return until(ReadHost(errorsPath)); }, kSlowStartSeconds);
        kill(static_cast<pid_t>(std::stol(ReadHost(pidPath))), SIGTERM);
        return ReadHost(errorsPath);
    }
    // A loaded machine starts a program slowly, and only a failure waits
    // this long.
    static constexpr int kSlowStartSeconds = 60;
    static std::string ReadHost(const std::string& path) {
        std::ifstream file(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }
    std::string Read(const std::string& relative) const { return root.ReadFile(relative); }
    std::string Log() const { return Read("NandFlash/zeta42/log/KD4700.log"); }
    void Remove(const std::string& relative) const { std::filesystem::remove_all(root.HostPath(relative)); }

    // Replaces `from`, which must be there, by `to` in a device-root file.
    void Edit(const std::string& relative, const std::string& from, const std::string& to) const {
        std::string text = Read(relative);
        const size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        root.PutFile(relative, text.replace(at, from.size(), to));
    }

    // A number the device's database gives for `sql` (0 without a row),
    // read as a bystander while a terminal may run on it: a connection of
    // the terminal's kind folds the log back into the file as it closes,
    // which holds off a write the terminal makes meanwhile, and that write
    // fails. A plain one does so only when it is the last connection.
    int Count(LPCWSTR sql) const {
        sqlite3* db = nullptr;
        sqlite3_stmt* statement = nullptr;
        const bool opened = sqlite3_open_v2(root.HostPath(kDatabaseFile).c_str(), &db, SQLITE_OPEN_READWRITE,
                                            nullptr) == SQLITE_OK;
        EXPECT_TRUE(opened) << kDatabaseFile;
        int value = 0;
        if (opened && sqlite3_prepare16_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK &&
            sqlite3_step(statement) == SQLITE_ROW)
            value = sqlite3_column_int(statement, 0);
        sqlite3_finalize(statement);
        sqlite3_close(db);
        return value;
    }
    void Execute(LPCWSTR sql) {
        CDbSqlite db;
        ASSERT_TRUE(db.Open(kDatabase));
        ASSERT_TRUE(db.DirectStatement(sql));
    }
    Surface Shot(const std::string& relative) const {
        std::vector<uint8_t> png;
        Surface shot;
        EXPECT_TRUE(ReadHostFile(root.HostPath(relative), png) && DecodePng(png, shot)) << relative;
        return shot;
    }
    std::string ShotLine(const std::string& relative) const { return "shot " + root.HostPath(relative) + "\n"; }
    // The database file becomes one the terminal may not write (its folder
    // it may). The system's administrator writes any file: the terminal runs
    // as a user without rights of its own then, who owns the device folder.
    // False where no setpriv can run it as another user.
    bool MakeTheDatabaseFileReadOnly() {
        namespace fs = std::filesystem;
        fs::permissions(root.HostPath(kDatabaseFile), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        if (geteuid() != 0) return true;
        if (std::system("command -v setpriv >/dev/null") != 0) return false;
        EXPECT_EQ(lchown(root.Host().c_str(), 65534, 65534), 0);
        for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root.Host()))
            EXPECT_EQ(lchown(entry.path().c_str(), 65534, 65534), 0) << entry.path();
        program = "setpriv --reuid=65534 --regid=65534 --clear-groups " + program;
        return true;
    }

    std::string program = QUILLON_PROGRAM;  // what Start and Launch run
    static constexpr char16_t kDatabase[] = u"\\NandFlash\\zeta42\\DB\\KD4700.DB";
    static constexpr char kDatabaseFile[] = "NandFlash/zeta42/DB/KD4700.DB";
    static constexpr char kConfig[] = "NandFlash/zeta42/config/config.xml";
    ScopedDeviceRoot root;
};
#endif
