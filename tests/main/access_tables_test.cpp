// The in-memory access zones, groups and bells: numbers and rows outside the
// tables are refused, and readers on other threads see whole entries.
#include <atomic>
#include <thread>

#include "core/AccessTables.h"
#include "core/MachineConfig.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

AccessZoneEntry ZoneOf(const char16_t* time, int id) {
    AccessZoneEntry zone;
    for (CString* text : ZoneTexts(zone)) *text = time;
    zone.SpaceID = id;
    return zone;
}

TEST(AccessTables, NumbersOutsideTheTablesAreRefused) {
    CAccessZoneTable zones;
    CAccessGroupTable groups;
    AccessZoneEntry zone = ZoneOf(u"09:00", 99);
    for (int number : {0, 33, -1, 1000000}) {
        EXPECT_FALSE(zones.Set(number, ZoneOf(u"01:00", number))) << number;
        EXPECT_FALSE(zones.Get(number, zone)) << number;
    }
    EXPECT_EQ(zone.SpaceID, 99);  // untouched
    EXPECT_TRUE(zones.Set(1, ZoneOf(u"01:00", 1)));
    EXPECT_TRUE(zones.Set(32, ZoneOf(u"23:00", 32)));
    ASSERT_TRUE(zones.Get(32, zone));
    EXPECT_EQ(zone.SunEnd, CString(u"23:00"));
    ASSERT_TRUE(zones.Get(1, zone));
    EXPECT_EQ(zone.MonStart, CString(u"01:00"));

    AccessGroupEntry group{5, 5, 5, 5, 5};
    for (int number : {-1, 17, 65535}) {
        EXPECT_FALSE(groups.Set(number, AccessGroupEntry{number, 1, 2, 3, 4})) << number;
        EXPECT_FALSE(groups.Get(number, group)) << number;
    }
    EXPECT_EQ(group.GroupID, 5);
    EXPECT_TRUE(groups.Set(0, AccessGroupEntry{0, 1, 2, 3, 4}));
    EXPECT_TRUE(groups.Set(16, AccessGroupEntry{16, 4, 3, 2, 1}));
    ASSERT_TRUE(groups.Get(16, group));
    EXPECT_EQ(group.FirstSpace, 4);
    groups.Clear();
    ASSERT_TRUE(groups.Get(16, group));
    EXPECT_EQ(group.GroupID, 0);
    EXPECT_EQ(group.FirstSpace, 0);
}

TEST(AccessTables, ReadersOnOtherThreadsSeeWholeEntries) {
    CAccessZoneTable zones;
    const AccessZoneEntry early = ZoneOf(u"07:00", 1), late = ZoneOf(u"19:30:00 and a longer text", 2);
    zones.Set(5, early);
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        AccessZoneEntry seen;
        while (!done) {
            zones.Get(5, seen);
            const CString expected = seen.SpaceID == 1 ? early.MonStart : late.MonStart;
            for (CString* text : ZoneTexts(seen))
                if (*text != expected) ++torn;
        }
    });
    for (int i = 0; i < 20000; ++i) zones.Set(5, i % 2 ? early : late);
    done = true;
    reader.join();
    EXPECT_EQ(torn.load(), 0);
}

class AccessTablesLoadTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        OpenFactoryDatabase();
    }
};

TEST_F(AccessTablesLoadTest, RowsWithNumbersOutsideTheTablesAreSkipped) {
    g_MachineConfig.AccessZoneTable.Clear();
    g_MachineConfig.AccessGroupTable.Clear();
    g_pDatabase->DirectStatement(u"update OpenDoorSpace set MonStart = '06:45' where SpaceID = 2");
    g_pDatabase->DirectStatement(u"update OpenDoorSpace set SpaceID = 40 where SpaceID = 3");
    g_pDatabase->DirectStatement(u"update OpenDoorSpace set SpaceID = 0 where SpaceID = 4");
    g_pDatabase->DirectStatement(u"insert into SpaceGroup values (16, 2, 0, 0, 0)");
    g_pDatabase->DirectStatement(u"insert into SpaceGroup values (17, 2, 0, 0, 0)");
    g_pDatabase->DirectStatement(u"insert into SpaceGroup values (-1, 2, 0, 0, 0)");
    EXPECT_EQ(LoadAccessTimeZones(), 1);
    EXPECT_EQ(LoadAccessGroups(), 1);
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(2, zone));
    EXPECT_EQ(zone.MonStart, CString(u"06:45"));
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(3, zone));
    EXPECT_EQ(zone.SpaceID, 0);  // its row now says 40
    AccessGroupEntry group;
    ASSERT_TRUE(g_MachineConfig.AccessGroupTable.Get(16, group));
    EXPECT_EQ(group.FirstSpace, 2);
}

TEST_F(AccessTablesLoadTest, BellRowsPastTheThirtiethAreLeftOutAndTouchNoOtherTable) {
    g_MachineConfig.AccessZoneTable.Set(1, ZoneOf(u"06:30", 1));
    g_pDatabase->DirectStatement(u"Delete from RingZone");
    for (int row = 1; row <= CMachineConfig::kBellEntries + 1; ++row) {
        CString sql;
        sql.Format(u"insert into RingZone (Time, week) values ('%d:%d', %d)", row % 24, row, row);
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
    }
    EXPECT_EQ(LoadBellTable(), 1);
    const BellEntry& last = g_MachineConfig.BellTable[CMachineConfig::kBellEntries - 1];
    EXPECT_EQ(last.Week, 30);
    EXPECT_EQ(last.Hour, 6);
    EXPECT_EQ(last.Minute, 30);
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(1, zone));
    EXPECT_EQ(zone.MonStart, CString(u"06:30"));
    EXPECT_EQ(zone.SpaceID, 1);
}

// A database put back from a copy with fewer rows: what memory held of the
// rows that are gone must not ring a bell or open a door.
TEST_F(AccessTablesLoadTest, AReloadLeavesNoEntryWhoseRowIsGone) {
    g_pDatabase->DirectStatement(u"Delete from RingZone");
    for (const char16_t* sql : {u"insert into RingZone (Time, week) values ('08:00', 31)",
                                u"insert into RingZone (Time, week) values ('12:00', 31)",
                                u"insert into RingZone (Time, week) values ('17:30', 31)",
                                u"update OpenDoorSpace set MonStart = '06:45' where SpaceID = 5",
                                u"insert into SpaceGroup values (16, 5, 0, 0, 0)"})
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
    LoadBellTable();
    LoadAccessTimeZones();
    LoadAccessGroups();
    ASSERT_EQ(g_MachineConfig.BellTable[2].Week, 31);

    for (const char16_t* sql : {u"Delete from RingZone where Time <> '08:00'",
                                u"Delete from OpenDoorSpace where SpaceID = 5", u"Delete from SpaceGroup"})
        ASSERT_TRUE(g_pDatabase->DirectStatement(sql));
    LoadBellTable();
    LoadAccessTimeZones();
    LoadAccessGroups();

    EXPECT_EQ(g_MachineConfig.BellTable[0].Hour, 8);
    for (size_t i = 1; i < CMachineConfig::kBellEntries; ++i) {
        EXPECT_EQ(g_MachineConfig.BellTable[i].Week, 0) << "bell " << i;
        EXPECT_EQ(g_MachineConfig.BellTable[i].RowId, 0) << "bell " << i;
    }
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(5, zone));
    EXPECT_EQ(zone.SpaceID, 0);
    EXPECT_TRUE(zone.MonStart.IsEmpty());
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(6, zone));
    EXPECT_EQ(zone.SpaceID, 6) << "a zone whose row stays is loaded";
    AccessGroupEntry group;
    ASSERT_TRUE(g_MachineConfig.AccessGroupTable.Get(16, group));
    EXPECT_EQ(group.FirstSpace, 0);
}

}  // namespace
