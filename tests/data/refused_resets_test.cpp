// A store emptied while the database refuses the write: the reset says it
// failed, and neither the rows nor the count the store keeps change.
#include <optional>

#include "DataTestSupport.h"
#include "RecordTestSupport.h"
#include "data/BusyTimeout.h"
#include "data/DeptStorage.h"
#include "data/RecordStore.h"
#include "data/UserStorage.h"
#include "platform/base/utf.h"
#include "tests/support/database_held.h"

namespace {

class RefusedResetTest : public DataStoreTest {
protected:
    void SetUp() override {
        DataStoreTest::SetUp();
        // On the database the base class has just opened.
        users.emplace(db);
        records.emplace(db, 100);
        depts.emplace(db);
        UserInfoRecord user;
        user.userid = u"5";
        user.Name = u"Ann";
        user.Deptid = 2;
        ASSERT_EQ(users->AddUser(user), 0);
        ASSERT_EQ(records->AddRecord(NumberedRecord(5)), 0);
        DeptRecord dept;
        dept.Deptid = 2;
        dept.DeptName = u"Sales";
        dept.SupDeptid = 1;
        ASSERT_EQ(depts->AddDept(dept), 0);
    }
    void ExpectAllKept() {
        EXPECT_EQ(users->GetCount(), 1);
        EXPECT_EQ(Int(u"select count(*) from Userinfo"), 1);
        EXPECT_EQ(Int(u"select UserCount from BasePara"), 1);
        EXPECT_EQ(records->GetAllRecordcount(), 1u);
        EXPECT_EQ(records->GetNewRecordcount(), 1u);
        EXPECT_EQ(Int(u"select AllRecordcount + NewRecordcount from BasePara"), 2);
        EXPECT_EQ(depts->GetCount(), 2);
        EXPECT_EQ(Text(u"select group_concat(Deptid, ',') from Dept"), CString(u"1,2"));
    }

    std::optional<CUserStorage> users;
    std::optional<CRecordStore> records;
    std::optional<CDeptStorage> depts;
};

TEST_F(RefusedResetTest, AnotherProgramsLockFailsEveryResetAndKeepsEverything) {
    {
        DatabaseHeldByAnotherProgram other(root.HostPath("DB/KD4700.DB"), "BEGIN IMMEDIATE");
        // One wait for the three resets, not five seconds each.
        CWaitOnceForOtherPrograms waitOnce;
        EXPECT_EQ(users->DeleteAll(), 4);
        EXPECT_EQ(records->Reset(), 1);
        EXPECT_EQ(depts->Reset(), 4);
    }
    ExpectAllKept();
}

// The head office cannot be written again after the old departments were
// deleted: the delete is taken back, and no box speaks in words outside
// the language files.
TEST_F(RefusedResetTest, AHeadOfficeThatCannotBeWrittenKeepsTheOldDepartments) {
    ASSERT_TRUE(db.DirectStatement(u"CREATE TRIGGER NoDept BEFORE INSERT ON Dept BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_EQ(depts->Reset(), 1);
    ExpectAllKept();
    for (const CString& box : Boxes()) EXPECT_EQ(box.Find(u"Could not INSERT"), -1) << Utf16ToUtf8(box.str());
}

// The count cannot be written after the users were deleted: the users stay.
TEST_F(RefusedResetTest, AUserCountThatCannotBeWrittenKeepsTheUsers) {
    ASSERT_TRUE(db.DirectStatement(
        u"CREATE TRIGGER NoCount BEFORE UPDATE OF UserCount ON BasePara BEGIN SELECT RAISE(ABORT, 'no'); END"));
    EXPECT_EQ(users->DeleteAll(), 4);
    ExpectAllKept();
}

}  // namespace
