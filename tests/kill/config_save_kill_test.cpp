// The power fails while the settings are being saved: config.xml holds the
// last value whose save returned, or the one being saved, never a cut file,
// and the terminal starts on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/kill/TerminalKillSupport.h"
#include "tests/support/kill_harness.h"

namespace {

// The factory value of the key the writer saves.
constexpr char kFactoryValue[] = "1000";

std::string SavedValue(const std::string& configFile) {
    std::ifstream file(configFile, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string open = "<WARNINGNUM>";
    const size_t start = text.find(open);
    const size_t end = text.find("</WARNINGNUM>");
    if (start == std::string::npos || end == std::string::npos || end < start) return "";
    return text.substr(start + open.size(), end - start - open.size());
}

TEST(ConfigSaveKillTest, AKilledSaveLeavesTheLastAcknowledgedValueOrTheNext) {
    TerminalFolder folder;
    KillPlan plan;
    plan.root = folder.Host();
    plan.command = {CONFIG_SAVE_WRITER, folder.Host()};
    plan.restart = folder.Start();
    plan.window = std::chrono::milliseconds(300);
    plan.seed = 4711;
    plan.prepare = [&](int) { folder.LayFactoryImage(); };
    int saves = 0;
    plan.check = [&](const KillRound& round) {
        const std::string saved = SavedValue(folder.HostPath("NandFlash/zeta42/config/config.xml"));
        const std::string last = round.acknowledged.empty() ? kFactoryValue : round.acknowledged.back();
        const std::string next = std::to_string(round.acknowledged.size() + 1);
        EXPECT_TRUE(saved == last || saved == next) << saved << " after acknowledged " << last;
        saves += static_cast<int>(round.acknowledged.size());
    };
    const KillSummary summary = RunKillTest(plan);
    EXPECT_EQ(summary.killedWhileRunning, summary.rounds);
    EXPECT_GT(saves, 0);
    std::printf("settings save: %d rounds, %d saves acknowledged\n", summary.rounds, saves);
}

}  // namespace
