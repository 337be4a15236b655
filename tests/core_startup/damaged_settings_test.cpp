// A settings file that exists but cannot be read: start-up stops with its
// box and says on standard error which file is damaged; a forced repair
// keeps the damaged file aside, under a name no earlier one has, and puts
// the factory settings in its place, while a readable file is kept.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)

namespace {

constexpr char kBox[] = "message box: Can not find '\\NandFlash\\zeta42\\config\\config.xml' file!\n";

struct Damage {
    const char* what;
    std::string content;
};

std::vector<Damage> Damages(const std::string& factory) {
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 131 + 7) % 256);
    std::string nested = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    for (int i = 0; i < 70000; ++i) nested += "<a>";
    for (int i = 0; i < 70000; ++i) nested += "</a>";
    return {{"truncated", factory.substr(0, factory.size() * 2 / 5)}, {"binary", binary}, {"nested", nested}};
}

class DamagedSettingsTest : public ProgramTest {
protected:
    std::string Repair() {
        const ProgramRun run = Launch("--init-root " + root.Host() + " --force");
        EXPECT_EQ(run.exitCode, 0) << run.errors;
        return run.errors;
    }
    ProgramRun Quit() { return Start("wait 300\nquit\n"); }
};

TEST_F(DamagedSettingsTest, StartUpNamesTheDamagedFileAndTheRepairKeepsItAsideForEachKindOfDamage) {
    const std::string factory = Read(kConfig);
    for (const Damage& damage : Damages(factory)) {
        SCOPED_TRACE(damage.what);
        root.PutFile(kConfig, damage.content);
        const ProgramRun run = Start("wait 200\nkey ENTER\nwait 100\n");
        EXPECT_EQ(run.exitCode, 1) << run.errors;
        EXPECT_NE(run.errors.find(kBox), std::string::npos) << run.errors;
        EXPECT_NE(run.errors.find(root.HostPath(kConfig) + " exists but cannot be read"), std::string::npos)
            << run.errors;

        const std::string said = Repair();
        EXPECT_NE(said.find("kept as config.xml.damaged, the factory settings are written in its place"),
                  std::string::npos)
            << said;
        EXPECT_EQ(Read(std::string(kConfig) + ".damaged"), damage.content);
        EXPECT_EQ(Read(kConfig), factory);
        EXPECT_EQ(Quit().exitCode, 0);
        Remove(std::string(kConfig) + ".damaged");
    }
}

TEST_F(DamagedSettingsTest, AMissingFileIsNotCalledDamaged) {
    Remove(kConfig);
    const ProgramRun run = Start("wait 200\nkey ENTER\nwait 100\n");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find(kBox), std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find("exists but cannot be read"), std::string::npos) << run.errors;
}

TEST_F(DamagedSettingsTest, ARepairNeverOverwritesAFileKeptAsideBefore) {
    const std::string factory = Read(kConfig);
    const std::string aside = std::string(kConfig) + ".damaged";
    root.PutFile(aside, "kept by an earlier repair");
    root.PutFile(std::string(aside) + ".2", "kept by the one after");
    root.PutFile(kConfig, factory.substr(0, 100));

    const std::string said = Repair();
    EXPECT_NE(said.find("kept as config.xml.damaged.3"), std::string::npos) << said;
    EXPECT_EQ(Read(aside), "kept by an earlier repair");
    EXPECT_EQ(Read(aside + ".2"), "kept by the one after");
    EXPECT_EQ(Read(aside + ".3"), factory.substr(0, 100));
    EXPECT_EQ(Read(kConfig), factory);
}

TEST_F(DamagedSettingsTest, ARepairKeepsAReadableFileAsItIs) {
    Edit(kConfig, "<LOCKDELAY>10<", "<LOCKDELAY>25<");
    const std::string edited = Read(kConfig);
    const std::string said = Repair();
    EXPECT_EQ(said.find("damaged"), std::string::npos) << said;
    EXPECT_EQ(Read(kConfig), edited);
    EXPECT_FALSE(std::filesystem::exists(root.HostPath(std::string(kConfig) + ".damaged")));
}

}  // namespace
#endif
