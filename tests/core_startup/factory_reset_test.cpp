#include "core/FactoryReset.h"
#include "core/MachineConfig.h"
#include "data/DeptStorage.h"
#include "data/FPTemplateStore.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

class FactoryResetTest : public StartupTest {
protected:
    void SetUp() override {
        StartupTest::SetUp();
        OpenFactoryDatabase();
        std::filesystem::create_directories(AppFile("DB/back"));
        std::filesystem::copy_file(AppFile("DB/KD4700.DB"), AppFile("DB/back/KD4700.bak"));
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

TEST_F(FactoryResetTest, AFailedReopenIsReported) {
    std::filesystem::remove(AppFile("DB/back/KD4700.bak"));
    std::filesystem::remove(AppFile("DB/KD4700.DB"));
    std::filesystem::create_directories(AppFile("DB/KD4700.DB"));  // a folder cannot be opened as the file
    EXPECT_EQ(ClearAllData(), 0);
    const std::vector<std::u16string> boxes = Journal(kJournalMessageBox);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.front(), u"[SQlite]Could not open \\NandFlash\\zeta42\\DB\\KD4700.DB");
}

}  // namespace
