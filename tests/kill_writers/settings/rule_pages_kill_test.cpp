// The power fails while the rule pages store what they show: a page's save
// is all there or not at all (the eight status names are one save), the
// saves before the cut are all there, and the terminal starts on them.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/kill/ScriptedKill.h"

namespace {

constexpr int kRounds = 8;

// The text of config.xml's element `key`; "" when it is missing.
std::string ConfigValue(const TerminalFolder& folder, const std::string& key) {
    std::ifstream file(folder.HostPath("NandFlash/zeta42/config/config.xml"), std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const size_t start = text.find("<" + key + ">");
    const size_t end = text.find("</" + key + ">");
    if (start == std::string::npos || end == std::string::npos || end < start) return "";
    return text.substr(start + key.size() + 2, end - start - key.size() - 2);
}

TEST(RulePagesKillTest, TheEightStatusNamesAreSavedTogether) {
    TerminalFolder folder;
    // Save c: every name becomes the digit c (a field reached with the
    // arrows has its name selected; the arrows go round).
    constexpr int kSaves = 9;
    std::string script;
    for (int save = 1; save <= kSaves; ++save) {
        script += "goto 141\n";
        for (int row = 0; row < 8; ++row) script += "key DOWN\n" + TypeDigits(std::to_string(save));
        script += "key ESC\n";
    }
    ScriptedKill run(folder, script);
    KillPlan plan = run.Plan(35141, kRounds, [&](int) { folder.LayFactoryImage(); });
    int saved = 0;
    plan.check = [&](const KillRound& round) {
        const std::string names = folder.Text("select group_concat(StatuName, ',') from (select * from StatusBase order by ID)");
        const std::string last = names.substr(0, 1);
        std::string same = last;
        for (int row = 1; row < 8; ++row) same += "," + last;
        EXPECT_TRUE(names == "IN,OUT,F1,F2,F3,F4,F5,F6" || names == same)
            << names << ", killed after " << round.delay.count() << " us";
        if (!round.killed) {
            EXPECT_EQ(names, std::string("9,9,9,9,9,9,9,9"));
        }
        saved += names == same ? std::stoi(last) : 0;
    };
    RunFittedKills("status names", plan);
    std::printf("status names: %d saves found after the kills\n", saved);
}

// Zone 1's Monday on the automatic-status page and the time-zone page, the
// lock delay on the door page, group 2's first zone on the group page and
// the record alarm threshold on the record page: save c sets c in each.
std::string RulePageSaves(int saves) {
    std::string script;
    for (int save = 1; save <= saves; ++save) {
        const std::string hour = "0" + std::to_string(save);
        const std::string window = TypeDigits(hour) + "key RIGHT\n" + TypeDigits("00") + "key LEFT\nkey DOWN\n" +
                                   TypeDigits(hour) + "key RIGHT\n" + TypeDigits("30") +
                                   "key LEFT\nkey DOWN\nanswer yes\nkey F1\nkey ESC\n";
        script += "goto 142\nkey DOWN\nkey DOWN\n" + window;
        script += "goto 165\nkey RIGHT\nkey DOWN\n" + window;
        script += "goto 164\nkey DOWN\nkey DOWN\nkey DOWN\nkey DOWN\nkey DOWN\n" + TypeDigits(std::to_string(save)) +
                  "key ESC\n";
        // Group 2's first zone one further, from none to zone 1 at the first.
        script += "goto 166\nkey RIGHT\nkey DOWN\nkey RIGHT\nanswer yes\nkey F1\nkey ESC\n";
        script += "goto 154\nkey DOWN\n" + TypeDigits(std::to_string(save)) + "key ESC\n";
    }
    return script;
}

// Which save a zone row holds: 0 for the factory row; -1 for a row whose
// end is not its start's.
int ZoneSave(const TerminalFolder& folder, const char* table) {
    const std::string sql = std::string("select MonStart || ' ' || MonEnd from ") + table + " where SpaceID = 1";
    const std::string row = folder.Text(sql.c_str());
    if (row == "00:00 00:00") return 0;
    const int hour = std::stoi(row.substr(0, 2));
    return row == "0" + std::to_string(hour) + ":00 0" + std::to_string(hour) + ":30" ? hour : -1;
}

TEST(RulePagesKillTest, ZoneDoorGroupAndRecordSavesAreWholeAndInOrder) {
    TerminalFolder folder;
    constexpr int kSaves = 4;
    ScriptedKill run(folder, RulePageSaves(kSaves));
    KillPlan plan = run.Plan(35165, kRounds, [&](int) { folder.LayFactoryImage(); });
    int saved = 0;
    plan.check = [&](const KillRound& round) {
        const int status = ZoneSave(folder, "AtuoFN");
        const int access = ZoneSave(folder, "OpenDoorSpace");
        const std::string delay = ConfigValue(folder, "LOCKDELAY");
        const int door = delay == "10" ? 0 : std::stoi(delay);
        const int group = std::max(folder.Query("select FirstSpace from SpaceGroup where GroupID = 2"), 0);
        const std::string threshold = ConfigValue(folder, "WARNINGNUM");
        const int record = threshold == "1000" ? 0 : std::stoi(threshold);
        // In the order of the script: each page a save ahead of the next
        // or level with it.
        EXPECT_TRUE(status >= access && access >= door && door >= group && group >= record && record >= status - 1)
            << "automatic status " << status << ", time zone " << access << ", lock delay " << delay << ", group "
            << group << ", alarm threshold " << threshold << ", killed after " << round.delay.count() << " us";
        EXPECT_LE(folder.Query("select count(*) from SpaceGroup"), 1);
        EXPECT_EQ(folder.Query("select count(*) from AtuoFN"), 16);
        EXPECT_EQ(folder.Query("select count(*) from OpenDoorSpace"), 32);
        if (!round.killed) {
            EXPECT_EQ(record, kSaves);
        }
        saved += status + access + door + group + record;
    };
    RunFittedKills("zone, door, group and record pages", plan);
    std::printf("zone, door, group and record pages: %d saves found after the kills\n", saved);
}

}  // namespace
