// The management protocol's download pages hold at most 12 users or 20
// departments however many are asked for, and the user table takes its
// 5000th user but not a 5001st.
#include "DataTestSupport.h"
#include "data/DeptStorage.h"
#include "data/PackedRecords.h"
#include "data/UserStorage.h"

namespace {

class PageLimitsTest : public DataStoreTest {};

TEST_F(PageLimitsTest, AUserPageHoldsTwelveInBothLayouts) {
    CUserStorage users(db);
    for (int id = 1; id <= 13; ++id) {
        UserInfoRecord user;
        user.userid.Format(u"%d", id);
        ASSERT_EQ(users.AddUser(user), 0);
    }
    std::vector<BYTE> buffer(PackedUser30Size * 13, 0);
    int n = 0;
    ASSERT_EQ(users.ReadUsersFirst(buffer.data(), 13, n), 0);
    EXPECT_EQ(n, 12);
    ASSERT_EQ(users.ReadUsersNext(buffer.data(), 13, n), 0);
    EXPECT_EQ(n, 1);
    ASSERT_EQ(users.ReadUsersFirstEx(buffer.data(), 12, n), 0);
    EXPECT_EQ(n, 12);
    ASSERT_EQ(users.ReadUsersNextEx(buffer.data(), 13, n), 0);
    EXPECT_EQ(n, 1);
}

TEST_F(PageLimitsTest, ADepartmentPageHoldsTwenty) {
    CDeptStorage depts(db);
    for (int id = 2; id <= 22; ++id) {
        DeptRecord dept;
        dept.Deptid = id;
        dept.DeptName = u"d";
        dept.SupDeptid = 1;
        ASSERT_EQ(depts.AddDept(dept), 0);
    }
    std::vector<BYTE> buffer(PackedDeptSize * 22, 0);
    int n = 0;
    ASSERT_EQ(depts.ReadFirstPage(buffer.data(), 22, n), 0);
    EXPECT_EQ(n, 20);
    ASSERT_EQ(depts.ReadNextPage(buffer.data(), 20, n), 0);
    EXPECT_EQ(n, 2);
}

TEST_F(PageLimitsTest, TheFiveThousandthUserIsTheLast) {
    CUserStorage users(db);
    users.SetCount(4999);
    UserInfoRecord user;
    user.userid = u"5000";
    EXPECT_EQ(users.AddUser(user), 0);
    EXPECT_EQ(users.GetCount(), 1) << "the count follows the rows";
    users.SetCount(5000);
    user.userid = u"5001";
    EXPECT_EQ(users.AddUser(user), 5);
    EXPECT_FALSE(users.UserIdExists(u"5001"));
}

}  // namespace
