// A folder or a pipe where the registry file or the settings file should
// be: start-up stops at once (no wait on the pipe) with a box that says it
// is not a file (never that it cannot be found) and names it on standard
// error; the forced repair keeps the folder or pipe aside and writes the
// factory file, after which the terminal starts.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)

#include <sys/stat.h>

namespace {

struct Blocker {
    const char* what;
    std::function<bool(const std::string& hostPath)> make;
    std::filesystem::file_type type;
};

const Blocker kBlockers[] = {
    {"folder", [](const std::string& path) { return std::filesystem::create_directory(path); },
     std::filesystem::file_type::directory},
    {"pipe", [](const std::string& path) { return mkfifo(path.c_str(), 0644) == 0; }, std::filesystem::file_type::fifo},
};

struct Place {
    const char* relative;
    const char* box;
};

const Place kPlaces[] = {
    {"registry.reg", "message box: '\\registry.reg' is not a file!\n"},
    {"NandFlash/zeta42/config/config.xml", "message box: '\\NandFlash\\zeta42\\config\\config.xml' is not a file!\n"},
};

class FolderOrPipeTest : public ProgramTest {};

TEST_F(FolderOrPipeTest, StartUpNamesTheFileAndTheRepairKeepsTheFolderOrPipeAside) {
    for (const Place& place : kPlaces) {
        const std::string name = std::filesystem::path(place.relative).filename().string();
        const std::string factory = Read(place.relative);
        for (const Blocker& blocker : kBlockers) {
            SCOPED_TRACE(std::string(place.relative) + " as a " + blocker.what);
            Remove(place.relative);
            ASSERT_TRUE(blocker.make(root.HostPath(place.relative)));

            const ProgramRun run = Start("wait 200\nkey ENTER\nwait 100\n");
            EXPECT_EQ(run.exitCode, 1) << run.errors;
            EXPECT_NE(run.errors.find(place.box), std::string::npos) << run.errors;
            EXPECT_NE(run.errors.find(root.HostPath(place.relative) + " exists but cannot be read (not a file"),
                      std::string::npos)
                << run.errors;
            EXPECT_EQ(run.errors.find("Can not find"), std::string::npos) << run.errors;
            EXPECT_EQ(std::filesystem::symlink_status(root.HostPath(place.relative)).type(), blocker.type);

            const ProgramRun repair = Launch("--init-root " + root.Host() + " --force");
            EXPECT_EQ(repair.exitCode, 0) << repair.errors;
            EXPECT_NE(repair.errors.find(name + " could not be read: kept as " + name + ".damaged"), std::string::npos)
                << repair.errors;
            EXPECT_EQ(std::filesystem::symlink_status(root.HostPath(std::string(place.relative) + ".damaged")).type(),
                      blocker.type);
            EXPECT_EQ(Read(place.relative), factory);
            EXPECT_EQ(Start("wait 300\nquit\n").exitCode, 0);
            Remove(std::string(place.relative) + ".damaged");
            root.PutFile(place.relative, factory);
        }
    }
}

}  // namespace
#endif
