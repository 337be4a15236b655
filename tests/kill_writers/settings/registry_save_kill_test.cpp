// The power fails while the registry file is saved: it holds the last value
// whose save returned, or the one being saved, never a cut file, and the
// terminal starts on it.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/kill/ScriptedKill.h"

namespace {

bool HoldsUnitName(const std::string& registry, const std::string& name) {
    std::ifstream file(registry, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return text.find("\"UnitName\"=\"" + name + "\"\n") != std::string::npos;
}

TEST(RegistrySaveKillTest, AKilledSaveLeavesTheLastAcknowledgedValueOrTheNext) {
    TerminalFolder folder;
    KillPlan plan =
        TerminalPlan(folder, {REGISTRY_SAVE_WRITER, folder.Host()}, 35105, 10, [&](int) { folder.LayFactoryImage(); });
    plan.window = std::chrono::milliseconds(300);
    int saves = 0;
    plan.check = [&](const KillRound& round) {
        const std::string registry = folder.HostPath("registry.reg");
        const std::string last = round.acknowledged.empty() ? "VELTO" : "Unit " + round.acknowledged.back();
        const std::string next = "Unit " + std::to_string(round.acknowledged.size() + 1);
        EXPECT_TRUE(HoldsUnitName(registry, last) || HoldsUnitName(registry, next))
            << "neither " << last << " nor " << next << ", killed after " << round.delay.count() << " us";
        saves += static_cast<int>(round.acknowledged.size());
    };
    const KillSummary summary = RunKillTest(plan);
    EXPECT_EQ(summary.killedWhileRunning, summary.rounds);
    EXPECT_GT(saves, 0);
    std::printf("registry save: %d rounds, %d saves acknowledged\n", summary.rounds, saves);
}

}  // namespace
