// The terminal's own files as start-up opens them: settings kept elsewhere
// and linked into the device folder are read through the link, and the
// forced repair leaves the link and the file it leads to as they are; a
// pipe in the place of a font keeps start-up from nothing; settings or a
// registry beyond any real one's size are told as too large, and a registry
// key nested beyond the registry's limits as damage; the repair replaces
// them.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)

#include <sys/stat.h>

#include "platform/base/host_read.h"

namespace {

class OwnFilesTest : public ProgramTest {
protected:
    // Moves `relative` to the owner's folder beside the device root and
    // links it back into its place; the host path it now has.
    std::string LinkFromOwnerFolder(const std::string& relative) {
        const std::string owned = root.Host() + "-owner/" + std::filesystem::path(relative).filename().string();
        std::filesystem::create_directories(std::filesystem::path(owned).parent_path());
        std::filesystem::rename(root.HostPath(relative), owned);
        std::filesystem::create_symlink(owned, root.HostPath(relative));
        return owned;
    }
    void TearDown() override { std::filesystem::remove_all(root.Host() + "-owner"); }
};

TEST_F(OwnFilesTest, LinkedSettingsStartTheTerminalAndTheRepairKeepsTheLink) {
    Edit(kConfig, "<LOCKDELAY>10<", "<LOCKDELAY>25<");
    const std::string owned = LinkFromOwnerFolder(kConfig);
    const std::string settings = ReadHost(owned);

    const ProgramRun run = Start("wait 300\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(run.errors.find("Can not find"), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("cannot be read"), std::string::npos) << run.errors;

    const ProgramRun repair = Launch("--init-root " + root.Host() + " --force");
    EXPECT_EQ(repair.exitCode, 0) << repair.errors;
    EXPECT_EQ(repair.errors.find("damaged"), std::string::npos) << repair.errors;
    EXPECT_TRUE(std::filesystem::is_symlink(root.HostPath(kConfig)));
    EXPECT_EQ(std::filesystem::read_symlink(root.HostPath(kConfig)), owned);
    EXPECT_EQ(ReadHost(owned), settings);
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kConfig) + ".damaged")));
}

TEST_F(OwnFilesTest, APipeForAFontIsPassedOver) {
    ASSERT_EQ(mkfifo(root.HostPath("NandFlash/zeta42/elsewhere.fifo").c_str(), 0600), 0);
    Remove("NandFlash/zeta42/FONTS/GOTHIC.TTF");
    ASSERT_EQ(mkfifo(root.HostPath("NandFlash/zeta42/FONTS/GOTHIC.TTF").c_str(), 0600), 0);
    Edit(kConfig, "<FontResourceList>", "<FontResourceList>\n    <FileName>elsewhere.fifo</FileName>");
    // Should it wait on the pipe after all, it is ended rather than the test.
    program = "timeout 120 " + program;
    const ProgramRun run = Start("wait 300\nquit\n");
    EXPECT_EQ(run.exitCode, 0) << run.errors;
}

TEST_F(OwnFilesTest, SettingsOrRegistryBeyondTheSizeLimitAreToldAsTooLargeAndReplacedByTheRepair) {
    const struct {
        const char* relative;
        const char* box;
    } kPlaces[] = {
        {"registry.reg", "message box: '\\registry.reg' is too large!\n"},
        {kConfig, "message box: '\\NandFlash\\zeta42\\config\\config.xml' is too large!\n"},
    };
    for (const auto& place : kPlaces) {
        SCOPED_TRACE(place.relative);
        const std::string factory = Read(place.relative);
        std::string huge = factory;
        huge.resize(kMaxTextFileBytes + 1, ' ');
        root.PutFile(place.relative, huge);

        const ProgramRun run = Start("wait 200\nkey ENTER\nwait 100\n");
        EXPECT_EQ(run.exitCode, 1) << run.errors;
        EXPECT_NE(run.errors.find(place.box), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(root.HostPath(place.relative) + " exists but cannot be read (too large)"),
                  std::string::npos)
            << run.errors;

        const ProgramRun repair = Launch("--init-root " + root.Host() + " --force");
        EXPECT_EQ(repair.exitCode, 0) << repair.errors;
        EXPECT_EQ(Read(place.relative), factory);
        EXPECT_EQ(std::filesystem::file_size(root.HostPath(std::string(place.relative) + ".damaged")), huge.size());
        Remove(std::string(place.relative) + ".damaged");
    }
}

TEST_F(OwnFilesTest, ARegistryKeyNestedBeyondTheLimitsIsDamageTheRepairReplaces) {
    const std::string factory = Read("registry.reg");
    std::string deep = factory + "[HKEY_LOCAL_MACHINE";
    for (int level = 0; level < 30000; ++level) deep += "\\k";
    root.PutFile("registry.reg", deep + "]\n\"Deepest\"=\"yes\"\n");

    const ProgramRun run = Start("wait 200\nkey ENTER\nwait 100\n");
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    EXPECT_NE(run.errors.find("message box: Can not find '\\registry.reg' file!\n"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find(root.HostPath("registry.reg") + " exists but cannot be read (a key nested deeper than 512"),
              std::string::npos)
        << run.errors;

    const ProgramRun repair = Launch("--init-root " + root.Host() + " --force");
    EXPECT_EQ(repair.exitCode, 0) << repair.errors;
    EXPECT_NE(repair.errors.find("registry.reg could not be read: kept as registry.reg.damaged"), std::string::npos)
        << repair.errors;
    EXPECT_EQ(Read("registry.reg"), factory);
    EXPECT_EQ(Start("wait 300\nquit\n").exitCode, 0);
}

}  // namespace
#endif
