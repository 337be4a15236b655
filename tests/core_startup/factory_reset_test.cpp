#include "core/FactoryReset.h"

#include <fstream>
#include <memory>

#include "core/SystemInit.h"
#include "core/UserDataReset.h"
#include "data/BusyTimeout.h"
#include "core/MachineConfig.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "tests/core_startup/StartupTestSupport.h"
#include "tests/maintenance/FullFlash.h"
#include "tests/support/database_held.h"

namespace {

class FactoryResetTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        OpenFactoryDatabase();
        ConnectDataStoreServices();
        WriteDeliveredCopy();
        g_pFPTemplateStore = new CFPTemplateStore;
        g_pRecordStore = new CRecordStore(*g_pDatabase);
        g_pUserStorage = new CUserStorage(*g_pDatabase);
        g_pDeptStorage = new CDeptStorage(*g_pDatabase);
    }
    void TearDown() override {
        delete g_pFPTemplateStore;
        delete g_pRecordStore;
        delete g_pUserStorage;
        delete g_pDeptStorage;
        g_pFPTemplateStore = nullptr;
        g_pRecordStore = nullptr;
        g_pUserStorage = nullptr;
        g_pDeptStorage = nullptr;
        StartupTest::TearDown();
    }

    // The delivered copy as the database stands, one file in the
    // rollback-journal format as the device image holds it.
    void WriteDeliveredCopy() {
        std::filesystem::create_directories(AppFile("DB/back"));
        std::filesystem::remove(AppFile("DB/back/KD4700.bak"));
        PutAppFile("DB/back/KD4700.bak", "");
        ASSERT_EQ(g_pDatabase->CopyContentTo(AppFile("DB/back/KD4700.bak"), {}), DatabaseCopyResult::Done);
        ASSERT_EQ(FormatBytes("DB/back/KD4700.bak"), std::string("\1\1"));
    }
    // Header bytes 18 and 19: 1 for the rollback journal, 2 for the
    // write-ahead log.
    std::string FormatBytes(const std::string& file) const {
        std::ifstream in(AppFile(file), std::ios::binary);
        std::string header(20, '\0');
        in.read(header.data(), 20);
        return header.substr(18, 2);
    }
    // A user with a photo and a record: what a reset would clear.
    void UseTheTerminal() {
        g_pDatabase->DirectStatement(u"insert into Userinfo (Userid, Name) values ('5', 'Ann')");
        g_pDatabase->DirectStatement(u"update BasePara set UserCount = 1, AllRecordcount = 1, NewRecordcount = 1");
        g_pDatabase->DirectStatement(u"insert into Checkinout (Userid, CheckTime) values ('5', '2014-09-01 08:00:00')");
        g_pUserStorage->LoadCount();
        g_pRecordStore->LoadCounters();
        PutAppFile("ICON/5.jpg");
    }
    // Nothing of it cleared, in the database or in memory.
    void ExpectTheTerminalAsUsed() {
        EXPECT_EQ(Int(u"select count(*) from Userinfo"), 1);
        EXPECT_EQ(Int(u"select UserCount + AllRecordcount + NewRecordcount from BasePara"), 3);
        EXPECT_EQ(g_pUserStorage->GetCount(), 1);
        EXPECT_EQ(g_pRecordStore->GetAllRecordcount(), 1u);
        EXPECT_TRUE(std::filesystem::exists(AppFile("ICON/5.jpg")));
    }
};

TEST_F(FactoryResetTest, LeavesTheDeliveredDatabaseWithClosedZonesAndEmptyTables) {
    g_pDatabase->DirectStatement(u"insert into Userinfo (Userid, Name) values ('5', 'Ann')");
    g_pDatabase->DirectStatement(u"insert into RingZone (Time, week) values ('08:00', 1)");
    g_pDatabase->DirectStatement(u"insert into SpaceGroup values (2, 1, 0, 0, 0)");
    g_MachineConfig.AccessGroupTable.Set(2, AccessGroupEntry{2, 1, 0, 0, 0});
    g_MachineConfig.BellTable[0].Hour = 8;
    PutAppFile("ICON/5.jpg");
    PutAppFile("SNAP/1.jpg");

    EXPECT_EQ(ClearAllData(), 1);
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace"), 32);
    EXPECT_EQ(Int(u"select min(SpaceID) from OpenDoorSpace"), 1);
    EXPECT_EQ(Int(u"select max(SpaceID) from OpenDoorSpace"), 32);
    EXPECT_EQ(Int(u"select count(*) from OpenDoorSpace where MonStart = '00:00' and SunEnd = '00:00'"), 32);
    EXPECT_EQ(Int(u"select count(*) from Userinfo"), 0);
    EXPECT_EQ(Int(u"select count(*) from RingZone"), 0);
    EXPECT_EQ(Int(u"select count(*) from SpaceGroup"), 0);
    AccessGroupEntry group;
    ASSERT_TRUE(g_MachineConfig.AccessGroupTable.Get(2, group));
    EXPECT_EQ(group.FirstSpace, 0);
    EXPECT_EQ(g_MachineConfig.BellTable[0].Hour, 0);
    AccessZoneEntry zone;
    ASSERT_TRUE(g_MachineConfig.AccessZoneTable.Get(32, zone));
    EXPECT_EQ(zone.SpaceID, 32);
    EXPECT_EQ(zone.SunEnd, CString(u"00:00"));
    EXPECT_FALSE(std::filesystem::exists(AppFile("ICON/5.jpg")));
    EXPECT_FALSE(std::filesystem::exists(AppFile("SNAP/1.jpg")));
}

// The rows the terminal committed lie only in the database's log: another
// program reading the database keeps it from being folded back. A reset
// whose copy fails then keeps every row, in the database as it is open and
// as it is opened again, and says the data was not cleared.
class FactoryResetLogTest : public FactoryResetTest {
protected:
    void UseTheTerminalWhileAnotherProgramReads() {
        UseTheTerminal();
        reader = std::make_unique<DatabaseHeldByAnotherProgram>(AppFile("DB/KD4700.DB"),
                                                                "BEGIN; SELECT count(*) FROM Userinfo");
        ASSERT_GT(std::filesystem::file_size(AppFile("DB/KD4700.DB-wal")), 0u);
    }
    void ExpectEveryRowKept() {
        ExpectTheTerminalAsUsed();
        reader.reset();
        g_pDatabase->Close();
        ASSERT_TRUE(g_pDatabase->Open(GetDatabasePath()));
        EXPECT_EQ(Int(u"select count(*) from Userinfo"), 1);
        EXPECT_EQ(Int(u"select count(*) from Checkinout"), 1);
        EXPECT_EQ(Int(u"select UserCount + AllRecordcount + NewRecordcount from BasePara"), 3);
    }

    std::unique_ptr<DatabaseHeldByAnotherProgram> reader;
};

TEST_F(FactoryResetLogTest, ADeliveredCopyThatIsNoDatabaseKeepsEveryRow) {
    UseTheTerminalWhileAnotherProgramReads();
    std::filesystem::remove(AppFile("DB/back/KD4700.bak"));
    PutAppFile("DB/back/KD4700.bak", std::string(8192, 'x'));
    EXPECT_EQ(ClearAllData(), 0);
    const std::vector<std::u16string> boxes = Journal(kJournalMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front().find(u"出厂数据库未能恢复"), std::u16string::npos);
    ExpectEveryRowKept();
}

TEST_F(FactoryResetLogTest, ACopyOntoAFullFlashKeepsEveryRowAndSaysWhy) {
    {
        FullFlash flash(root.Host());
        UseTheTerminalWhileAnotherProgramReads();
        FullFlash::LeaveFree(0);
        EXPECT_EQ(ClearAllData(), 0);
        EXPECT_TRUE(FullFlash::Refused());
        reader.reset();  // the flash's end opens the database again: no wait on the reader
    }
    EXPECT_EQ(Journal(kJournalMessageBox), std::vector<std::u16string>{DataNotClearedText(DatabaseFailure::Full).str()});
    ExpectEveryRowKept();
}

// The delivered copy comes in the rollback-journal format; the database put
// back from it runs in the terminal's own mode, the write-ahead log, and
// the copy is left one file that stands alone.
TEST_F(FactoryResetTest, TheDatabasePutBackRunsInTheLogModeAndTheCopyStaysAlone) {
    EXPECT_EQ(ClearAllData(), 1);
    StatementPtr mode(g_pDatabase->Statement(u"PRAGMA journal_mode"));
    ASSERT_TRUE(mode->NextRow());
    EXPECT_EQ(CString(mode->ValueString(0)), CString(u"wal"));
    EXPECT_EQ(FormatBytes("DB/KD4700.DB"), std::string("\2\2"));
    EXPECT_EQ(FormatBytes("DB/back/KD4700.bak"), std::string("\1\1"));
    for (const char* log : {"-wal", "-shm", "-journal"})
        EXPECT_FALSE(std::filesystem::exists(AppFile(std::string("DB/back/KD4700.bak") + log))) << log;
}

// The delivered copy holds the data, and the flash is full when the reset
// would empty it: the reset says why in one box, and nothing after the copy
// is done.
TEST_F(FactoryResetTest, AFullFlashKeepsTheDataAndSaysWhy) {
    UseTheTerminal();
    WriteDeliveredCopy();
    FullFlash flash(root.Host());
    FullFlash::LeaveFree(0);
    EXPECT_EQ(ClearAllData(), 0);
    EXPECT_TRUE(FullFlash::Refused());
    EXPECT_EQ(Journal(kJournalMessageBox), std::vector<std::u16string>{DataNotClearedText(DatabaseFailure::Full).str()});
    ExpectTheTerminalAsUsed();
}

// No delivered copy to put back: the database stays as it was, said so.
TEST_F(FactoryResetTest, ACopyThatCannotBePutBackKeepsTheDataAndSaysSo) {
    UseTheTerminal();
    std::filesystem::remove(AppFile("DB/back/KD4700.bak"));
    g_MachineConfig.BellTable[0].Hour = 8;
    EXPECT_EQ(RestoreFactoryData(), 0);
    const std::vector<std::u16string> boxes = Journal(kJournalMessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes.front().find(u"出厂数据库未能恢复"), std::u16string::npos);
    ExpectTheTerminalAsUsed();
    EXPECT_EQ(g_MachineConfig.BellTable[0].Hour, 8);
}

// What the reset after a settings reset empties, refused by another program
// that holds the database: nothing is emptied and the cause is given.
TEST_F(FactoryResetTest, EmptyingTheUserDataHeldByAnotherProgramEmptiesNothing) {
    UseTheTerminal();
    DatabaseHeldByAnotherProgram other(AppFile("DB/KD4700.DB"), "BEGIN IMMEDIATE");
    EXPECT_EQ(EmptyUserData(), DatabaseFailure::InUse);
    other.Release();
    ExpectTheTerminalAsUsed();
    EXPECT_TRUE(Journal(kJournalMessageBox).empty()) << "the caller tells the failure";
}

// A later statement of the transaction fails after each store took its
// empty count: the counts in memory follow the rows that stayed.
TEST_F(FactoryResetTest, AFailureAfterTheStoresEmptiedLeavesTheirCountsAsTheDatabaseHoldsThem) {
    UseTheTerminal();
    EXPECT_EQ(EmptyUserData([] { return false; }), DatabaseFailure::Other);
    ExpectTheTerminalAsUsed();
}

}  // namespace
