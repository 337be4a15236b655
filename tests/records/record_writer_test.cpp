// The records maker's batch on a full flash: the database refuses it, the
// cause is the flash, and nothing of the batch stays.
#include "tests/core_startup/ProgramTestSupport.h"

#if defined(QUILLON_PROGRAM) && defined(QUILLON_FACTORY_IMAGE_DIR)
#include "core/DatabaseOpen.h"
#include "data/DataGlobals.h"
#include "data/DataLocks.h"
#include "tools/records/record_writer.h"

namespace {

class RecordWriterTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        InitDataStoreLocks();
        ASSERT_EQ(OpenDatabase(), 1);
    }
    void TearDown() override { CloseDatabase(); }
    static int Int(LPCWSTR sql) { return QueryInt(*g_pDatabase, sql); }
};

TEST_F(RecordWriterTest, ABatchOnAFullFlashIsRefusedWholeForTheFlash) {
    CRecordStore store(*g_pDatabase, RecordRingCapacity);
    const std::vector<PlannedRecord> planned = PlanRecords({"1", "2"}, 2000, {2026, 3, 1}, {2026, 3, 31});
    CString noRoom;
    noRoom.Format(u"PRAGMA max_page_count = %d", Int(u"PRAGMA page_count"));
    ASSERT_EQ(Int(noRoom), Int(u"PRAGMA page_count"));
    EXPECT_EQ(AddPlannedRecords(store, planned), DatabaseFailure::Full);
    EXPECT_EQ(Int(u"SELECT count(*) FROM Checkinout"), 0);
    EXPECT_EQ(Int(u"SELECT AllRecordcount FROM BasePara"), 0);

    noRoom.Format(u"PRAGMA max_page_count = %d", Int(u"PRAGMA page_count") + 1000);
    Int(noRoom);
    EXPECT_EQ(AddPlannedRecords(store, planned), DatabaseFailure::None) << "with room, the same batch goes in";
    EXPECT_EQ(Int(u"SELECT count(*) FROM Checkinout"), 2000);
    EXPECT_EQ(Int(u"SELECT AllRecordcount FROM BasePara"), 2000) << "the refused batch left no count behind";
    EXPECT_EQ(store.GetAllRecordcount(), 2000u);
}

}  // namespace
#endif
