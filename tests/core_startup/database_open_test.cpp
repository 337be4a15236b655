#include "core/AccessTables.h"
#include "core/DatabaseOpen.h"
#include "data/DataStoreServices.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/support/database_held.h"

namespace {

using DatabaseOpenTest = StartupTest;

TEST_F(DatabaseOpenTest, OpensOnceAndProbesTheSchema) {
    OpenFactoryDatabase();
    CDbSqlite* first = g_pDatabase;
    EXPECT_EQ(OpenDatabase(), 0);
    EXPECT_EQ(g_pDatabase, first);
    EXPECT_EQ(CheckDatabase(), 1);
}

TEST_F(DatabaseOpenTest, AnEmptyFileFailsTheProbe) {
    PutAppFile("DB/KD4700.DB", "");
    ASSERT_EQ(OpenDatabase(), 1);
    EXPECT_EQ(CheckDatabase(), 0);
}

TEST_F(DatabaseOpenTest, AutoFunctionTableIsCreatedWithSixteenRowsWhenMissing) {
    OpenFactoryDatabase();
    g_pDatabase->DirectStatement(u"DROP TABLE IF EXISTS AtuoFN");
    EnsureAutoFnTable();
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 16);
    EXPECT_EQ(Int(u"select min(SpaceID) from AtuoFN"), 1);
    EXPECT_EQ(Int(u"select max(SpaceID) from AtuoFN"), 16);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where FNID = 0 and Monstart = '00:00' and SunEnd = '00:00'"), 16);
}

TEST_F(DatabaseOpenTest, AShortAutoFunctionTableGetsItsMissingRowsAndKeepsItsOwn) {
    OpenFactoryDatabase();
    EnsureAutoFnTable();
    g_pDatabase->DirectStatement(u"delete from AtuoFN where SpaceID in (1, 9, 16)");
    g_pDatabase->DirectStatement(u"update AtuoFN set FNID = 4, Monstart = '08:30' where SpaceID = 2");
    EnsureAutoFnTable();
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 16);
    EXPECT_EQ(Int(u"select count(distinct SpaceID) from AtuoFN where SpaceID between 1 and 16"), 16);
    EXPECT_EQ(Int(u"select FNID from AtuoFN where SpaceID = 2"), 4);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where Monstart = '08:30'"), 1);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where SpaceID in (1, 9, 16) and FNID = 0"), 3);
}

TEST_F(DatabaseOpenTest, AWholeAutoFunctionTableIsLeftAlone) {
    OpenFactoryDatabase();
    EnsureAutoFnTable();
    g_pDatabase->DirectStatement(u"update AtuoFN set FNID = SpaceID + 100");
    g_pDatabase->DirectStatement(u"update AtuoFN set SpaceID = 40 where SpaceID = 3");
    EnsureAutoFnTable();
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 16);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where FNID = SpaceID + 100"), 15);
    EXPECT_EQ(Int(u"select count(*) from AtuoFN where SpaceID = 3"), 0);
}

TEST_F(DatabaseOpenTest, AnAutoFunctionTableOfAnotherShapeIsLeftAsItWas) {
    OpenFactoryDatabase();
    g_pDatabase->DirectStatement(u"DROP TABLE IF EXISTS AtuoFN");
    g_pDatabase->DirectStatement(u"CREATE TABLE AtuoFN (SpaceID int, FNID int)");
    g_pDatabase->DirectStatement(u"insert into AtuoFN values (7, 3)");
    EnsureAutoFnTable();
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 1);
    EXPECT_EQ(Int(u"select FNID from AtuoFN"), 3);
    // Nothing half done is left open: later writes go through.
    EXPECT_TRUE(g_pDatabase->DirectStatement(u"insert into AtuoFN values (8, 1)"));
    EXPECT_TRUE(g_pDatabase->BeginTransaction());
    EXPECT_TRUE(g_pDatabase->CommitTransaction());
}

// Another program writing as start-up mends the table: its lock is waited
// for, and the rows come once it is gone.
TEST_F(DatabaseOpenTest, TheAutoFunctionTableIsMendedOnceAnotherProgramsBriefLockIsGone) {
    OpenFactoryDatabase();
    EnsureAutoFnTable();
    g_pDatabase->DirectStatement(u"delete from AtuoFN where SpaceID = 9");
    DatabaseHeldByAnotherProgram other(AppFile("DB/KD4700.DB"), "BEGIN IMMEDIATE");
    other.ReleaseAfter(300);
    EnsureAutoFnTable();
    EXPECT_EQ(Int(u"select count(*) from AtuoFN"), 16);
}

// A start on a full flash: the table start-up adds finds no room. The box
// says so in words (here the built-in text), and no half-made table stays.
TEST_F(DatabaseOpenTest, AFullFlashAtStartIsToldInWords) {
    OpenFactoryDatabase();
    g_pDatabase->DirectStatement(u"DROP TABLE IF EXISTS AtuoFN");
    static std::vector<CString> boxes;
    boxes.clear();
    g_DataStoreServices.messageBox = [](LPCWSTR text, LPCWSTR) { boxes.push_back(text); };
    CString noRoom;
    noRoom.Format(u"PRAGMA max_page_count = %d", Int(u"PRAGMA page_count"));
    ASSERT_EQ(Int(noRoom), Int(u"PRAGMA page_count"));
    EnsureAutoFnTable();
    g_DataStoreServices.messageBox = nullptr;
    EXPECT_EQ(boxes, std::vector<CString>{u"存储空间已满，更改未能保存！"});
    EXPECT_EQ(Int(u"select count(*) from sqlite_master where name = 'AtuoFN'"), 0);
}

TEST_F(DatabaseOpenTest, ClosingTwiceIsHarmless) {
    OpenFactoryDatabase();
    EXPECT_EQ(CloseDatabase(), 1);
    EXPECT_EQ(g_pDatabase, nullptr);
    EXPECT_EQ(CloseDatabase(), 1);
}

TEST_F(DatabaseOpenTest, AccessTablesLoadFromTheDatabase) {
    OpenFactoryDatabase();
    g_pDatabase->DirectStatement(u"Delete from RingZone");
    g_pDatabase->DirectStatement(u"insert into RingZone (Time, week) values ('8:5', 62)");
    g_pDatabase->DirectStatement(u"insert into RingZone (Time, week) values ('NULL', 1)");
    g_pDatabase->DirectStatement(u"insert into RingZone (Time, week) values ('17:30', 3)");
    g_MachineConfig.BellTable[1] = BellEntry{};
    LoadBellTable();
    EXPECT_EQ(g_MachineConfig.BellTable[0].Hour, 8);
    EXPECT_EQ(g_MachineConfig.BellTable[0].Minute, 5);
    EXPECT_EQ(g_MachineConfig.BellTable[0].Week, 62);
    EXPECT_EQ(g_MachineConfig.BellTable[1].Hour, 17);
    EXPECT_EQ(g_MachineConfig.BellTable[1].Minute, 30);

    g_pDatabase->DirectStatement(u"update OpenDoorSpace set MonStart = '07:15' where SpaceID = 3");
    LoadAccessTimeZones();
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(3, zone));
    EXPECT_EQ(zone.SpaceID, 3);
    EXPECT_EQ(zone.MonStart, CString(u"07:15"));
}

TEST(ParseHourMinute, SplitsAtTheColon) {
    BYTE hour = 9, minute = 9;
    ParseHourMinute(u"8:5", &hour, &minute);
    EXPECT_EQ(hour, 8);
    EXPECT_EQ(minute, 5);
    ParseHourMinute(u"45", &hour, &minute);
    EXPECT_EQ(hour, 0);
    EXPECT_EQ(minute, 45);
}

}  // namespace
