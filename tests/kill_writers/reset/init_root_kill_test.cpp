// The power fails while a device folder is written (--init-root) or repaired
// (--init-root --force): run again, the same command leaves the factory
// image whole, keeps what the terminal wrote, and leaves no temporary of the
// cut run behind, beside any file or beside the folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/kill/ScriptedKill.h"

namespace {

namespace fs = std::filesystem;

const char kConfig[] = "NandFlash/zeta42/config/config.xml";

std::string Read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Every file of the factory image is in `root` with the factory's bytes,
// but for the relative paths in `kept`.
void ExpectFactoryFiles(const std::string& root, const std::vector<std::string>& kept) {
    const fs::path image = QUILLON_FACTORY_IMAGE_DIR;
    for (const auto& entry : fs::recursive_directory_iterator(image)) {
        const fs::path relative = entry.path().lexically_relative(image);
        if (entry.is_directory()) {
            EXPECT_TRUE(fs::is_directory(fs::path(root) / relative)) << relative;
        } else if (std::find(kept.begin(), kept.end(), relative.generic_string()) == kept.end()) {
            EXPECT_EQ(Read(fs::path(root) / relative), Read(entry.path())) << relative << " is not whole";
        }
    }
}

// No temporary of a replace, and no ".partial" file or folder, in or beside
// the folder.
void ExpectNoTemporaries(const std::string& root) {
    EXPECT_FALSE(fs::exists(root + ".partial"));
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(name.find(".partial"), std::string::npos) << "left behind: " << entry.path();
        EXPECT_EQ(name.find(".~tmp"), std::string::npos) << "left behind: " << entry.path();
    }
}

// Each round: `command` on the folder `prepare` lays, killed at a random
// moment, then `restart`. The restart runs through the shell, which first
// notes in `cuts` whether the kill left a temporary behind (the write was
// cut in the middle).
struct InitRootKill {
    TerminalFolder folder;
    std::string cuts = folder.Host() + ".cuts";

    std::vector<std::string> Restart(const std::string& arguments) const {
        const std::string root = Quoted(folder.Host());
        return {"/bin/sh", "-c",
                "if find " + root + " " + Quoted(folder.Host() + ".partial") +
                    " \\( -name '*.partial' -o -name '*.~tmp*' \\) 2>/dev/null | grep -q .; then echo cut >> " +
                    Quoted(cuts) + "; fi; exec " + Quoted(QUILLON_PROGRAM) + " --init-root " + root + " " + arguments};
    }
    int Cuts() const {
        std::ifstream file(cuts);
        int lines = 0;
        for (std::string line; std::getline(file, line);) ++lines;
        return lines;
    }
    ~InitRootKill() {
        std::error_code ignored;
        fs::remove(cuts, ignored);
        fs::remove_all(folder.Host() + ".partial", ignored);
    }
};

TEST(InitRootKillTest, ACutRepairIsCompletedByTheNextAndKeepsWhatTheTerminalWrote) {
    InitRootKill kill;
    const TerminalFolder& folder = kill.folder;
    KillPlan plan = TerminalPlan(folder, {QUILLON_PROGRAM, "--init-root", folder.Host(), "--force"}, 20261208, 20,
                                 [&](int) {
                                     folder.LayFactoryImage();
                                     // Settings the terminal changed, program files lost or damaged.
                                     std::string settings = Read(folder.HostPath(kConfig));
                                     settings.replace(settings.find("<LOCKDELAY>10<"), 14, "<LOCKDELAY>25<");
                                     std::ofstream(folder.HostPath(kConfig), std::ios::binary) << settings;
                                     fs::remove_all(folder.HostPath("NandFlash/zeta42/Skin"));
                                     fs::remove_all(folder.HostPath("NandFlash/zeta42/LANG"));
                                     fs::remove(folder.HostPath("registry.reg"));
                                 });
    plan.restart = kill.Restart("--force");
    plan.check = [&](const KillRound& round) {
        SCOPED_TRACE("killed after " + std::to_string(round.delay.count()) + " us");
        EXPECT_NE(Read(folder.HostPath(kConfig)).find("<LOCKDELAY>25<"), std::string::npos) << "settings lost";
        ExpectFactoryFiles(folder.Host(), {kConfig});
        ExpectNoTemporaries(folder.Host());
    };
    RunFittedKills("init-root repair", plan);
    std::printf("init-root repair: %d rounds cut a write in the middle\n", kill.Cuts());
}

TEST(InitRootKillTest, ACutNewFolderIsWrittenWholeByTheNext) {
    InitRootKill kill;
    const TerminalFolder& folder = kill.folder;
    KillPlan plan = TerminalPlan(folder, {QUILLON_PROGRAM, "--init-root", folder.Host()}, 20261209, 20,
                                 [&](int) { fs::remove_all(folder.Host()); });
    plan.restart = kill.Restart("--force");
    plan.check = [&](const KillRound& round) {
        SCOPED_TRACE("killed after " + std::to_string(round.delay.count()) + " us");
        ExpectFactoryFiles(folder.Host(), {});
        ExpectNoTemporaries(folder.Host());
    };
    RunFittedKills("init-root new folder", plan);
    std::printf("init-root new folder: %d rounds cut a write in the middle\n", kill.Cuts());
}

}  // namespace
