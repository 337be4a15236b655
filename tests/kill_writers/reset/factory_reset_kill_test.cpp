// The power fails while the terminal is put back to its delivered state:
// the database is the one in use or the delivered one, never a mix, the
// settings file and the registry file each hold all the old settings or
// all the factory ones, and the terminal starts on what is left. The same
// for the delivered copy (DB\back) put into the database.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/kill/PreparedFolder.h"
#include "tests/kill/ScriptedKill.h"

namespace factory_reset_kill_test {
namespace {

namespace fs = std::filesystem;

constexpr int kUsers = 600;
constexpr int kPhotos = 3;
const char kConfig[] = "NandFlash/zeta42/config/config.xml";

bool Acknowledged(const KillRound& round, const std::string& what) {
    return !round.acknowledged.empty() && round.acknowledged.back() == what;
}

std::string Read(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

// The settings a terminal in use has changed, as config.xml holds them.
const char* const kUsedSettings[] = {"<LOCKDELAY>3</LOCKDELAY>", "<WARNINGNUM>500</WARNINGNUM>",
                                     "<NETPORT>6000</NETPORT>"};
const char* const kFactorySettings[] = {"<LOCKDELAY>10</LOCKDELAY>", "<WARNINGNUM>1000</WARNINGNUM>",
                                        "<NETPORT>5010</NETPORT>"};

// And as the registry file holds them.
const char* const kUsedRegistry[] = {"\"TimeType\"=dword:00000001", "\"RJWIFI\"=dword:00000001",
                                     "\"EnableDHCP\"=dword:00000001"};
const char* const kFactoryRegistry[] = {"\"TimeType\"=dword:00000000", "\"RJWIFI\"=dword:00000000",
                                        "\"EnableDHCP\"=dword:00000000"};

// How many of `settings` the text holds.
int Holds(const std::string& text, const char* const (&settings)[3]) {
    int held = 0;
    for (const char* setting : settings) held += text.find(setting) != std::string::npos;
    return held;
}

// Puts `used` in the place of `factory` in the file.
void ChangeSettings(const std::string& path, const char* const (&factory)[3], const char* const (&used)[3]) {
    std::string text = Read(path);
    for (int i = 0; i < 3; ++i) {
        const size_t at = text.find(factory[i]);
        ASSERT_NE(at, std::string::npos) << factory[i];
        text.replace(at, std::string(factory[i]).size(), used[i]);
    }
    std::ofstream(path, std::ios::binary) << text;
}

void UseTheTerminal(const TerminalFolder& folder) {
    ExecOnTerminal(folder, "update OpenDoorSpace set MonStart = '08:00', MonEnd = '17:00' where SpaceID = 1;"
                           "insert into SpaceGroup(GroupID, FirstSpace, SecondSpace, ThirdSpace, FourSpace) "
                           "values (2, 1, 0, 0, 0)");
    ChangeSettings(folder.HostPath(kConfig), kFactorySettings, kUsedSettings);
    ChangeSettings(folder.HostPath("registry.reg"), kFactoryRegistry, kUsedRegistry);
    for (int photo = 1; photo <= kPhotos; ++photo)
        std::ofstream(folder.HostPath("NandFlash/zeta42/ICON/" + std::to_string(photo) + ".jpg")) << "photo";
}

int Photos(const TerminalFolder& folder) {
    int photos = 0;
    for (const auto& entry : fs::directory_iterator(folder.HostPath("NandFlash/zeta42/ICON"))) photos += entry.is_regular_file();
    return photos;
}

TEST(FactoryResetKillTest, TheDatabaseIsInUseOrDeliveredAndTheSettingsAllOldOrAllNew) {
    PreparedFolder prepared(kUsers, {});
    TerminalFolder& folder = prepared.folder;
    KillPlan plan = TerminalPlan(folder, {FACTORY_RESET_WRITER, folder.Host(), "reset"}, 35107, 10, [&](int) {
        prepared.Lay();
        UseTheTerminal(folder);
    });
    int resets = 0;
    plan.check = [&](const KillRound& round) {
        const int users = folder.Query("select count(*) from Userinfo");
        const std::string when = "killed after " + std::to_string(round.delay.count()) + " us";
        if (users == kUsers) {
            EXPECT_EQ(folder.Query("select count(*) from FPinfo"), kUsers) << when;
            EXPECT_EQ(folder.Query("select count(*) from Checkinout"), kUsers) << when;
            EXPECT_EQ(folder.Text("select MonStart || MonEnd from OpenDoorSpace where SpaceID = 1"), "08:0017:00") << when;
            EXPECT_EQ(folder.Query("select count(*) from SpaceGroup"), 1) << when;
            EXPECT_EQ(Photos(folder), kPhotos) << "the photos go after the database";
        } else {
            EXPECT_EQ(users, 0) << when;
            EXPECT_EQ(folder.Query("select count(*) from FPinfo"), 0) << when;
            EXPECT_EQ(folder.Query("select count(*) from Checkinout"), 0) << when;
            EXPECT_EQ(folder.Query("select AllRecordcount + NewRecordcount + UserCount from BasePara"), 0) << when;
            EXPECT_EQ(folder.Query("select count(*) from OpenDoorSpace where MonStart = '00:00' and SunEnd = '00:00'"), 32)
                << when;
            EXPECT_EQ(folder.Query("select count(*) from OpenDoorSpace"), 32) << when;
            EXPECT_EQ(folder.Query("select count(*) from SpaceGroup"), 0) << when;
        }
        const std::string config = Read(folder.HostPath(kConfig));
        const int used = Holds(config, kUsedSettings);
        EXPECT_TRUE(used == 3 || Holds(config, kFactorySettings) == 3)
            << used << " of the changed settings kept, the others reset, " << when;
        const std::string registry = Read(folder.HostPath("registry.reg"));
        const int usedInRegistry = Holds(registry, kUsedRegistry);
        EXPECT_TRUE(usedInRegistry == 3 || Holds(registry, kFactoryRegistry) == 3)
            << usedInRegistry << " of the changed registry values kept, the others reset, " << when;
        if (Acknowledged(round, "reset")) {
            EXPECT_EQ(users, 0);
            EXPECT_EQ(used, 0);
            EXPECT_EQ(usedInRegistry, 0);
            EXPECT_EQ(Photos(folder), 0);
        }
        resets += users == 0;
    };
    RunFittedKills("factory reset", plan);
    std::printf("factory reset: %d rounds found the database reset\n", resets);
}

// A copy of some 13 MB (5000 users with templates, a full record ring) as
// the delivered one, put in the place of a factory database.
TEST(FactoryResetKillTest, TheDeliveredCopyReplacesTheDatabaseWhole) {
    constexpr int kCopyUsers = 5000;
    PreparedFolder prepared(kCopyUsers, {"ring"});
    TerminalFolder& folder = prepared.folder;
    const std::string live = folder.HostPath("NandFlash/zeta42/DB/KD4700.DB");
    KillPlan plan = TerminalPlan(folder, {FACTORY_RESET_WRITER, folder.Host(), "copy"}, 35108, 10, [&](int) {
        prepared.Lay();
        fs::copy_file(live, folder.HostPath("NandFlash/zeta42/DB/back/KD4700.bak"), fs::copy_options::overwrite_existing);
        fs::copy_file(std::string(QUILLON_FACTORY_IMAGE_DIR) + "/NandFlash/zeta42/DB/KD4700.DB", live,
                      fs::copy_options::overwrite_existing);
    });
    int copied = 0;
    plan.check = [&](const KillRound& round) {
        const int users = folder.Query("select count(*) from Userinfo");
        EXPECT_TRUE(users == 0 || users == kCopyUsers) << users << ", killed after " << round.delay.count() << " us";
        if (Acknowledged(round, "copied")) {
            EXPECT_EQ(users, kCopyUsers);
        }
        copied += users == kCopyUsers;
    };
    RunFittedKills("delivered copy", plan);
    std::printf("delivered copy: %d rounds started on the copy\n", copied);
}

}  // namespace

}  // namespace factory_reset_kill_test
