// Departments: the head office, the limit, the tree and the PC pages.
#include "DataTestSupport.h"
#include "data/DeptStorage.h"
#include "data/PackedRecords.h"

namespace {

class DeptTest : public DataStoreTest {
protected:
    static DeptRecord Dept(int id, LPCWSTR name, int parent) {
        DeptRecord dept;
        dept.Deptid = id;
        dept.DeptName = name;
        dept.SupDeptid = parent;
        return dept;
    }
    int Rows() { return Int(u"select count(*) from Dept"); }
};

TEST_F(DeptTest, ResetLeavesOnlyTheHeadOffice) {
    CDeptStorage depts(db);
    EXPECT_EQ(depts.GetCount(), 1);
    ASSERT_EQ(depts.AddDept(Dept(2, u"Sales", 1)), 0);
    g_DataStoreServices.langText = [](LPCWSTR, LPCWSTR key, LPCWSTR) {
        return CString(u"Head ") + key;
    };
    ASSERT_EQ(depts.Reset(), 0);
    EXPECT_EQ(depts.GetCount(), 1);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(Int(u"select count(*) from Dept where Deptid = 1 and SupDeptid = 0 and DeptGroup = 0"), 1);
    EXPECT_EQ(Text(u"select DeptName from Dept"), u"Head DS0001");
}

TEST_F(DeptTest, AddUpdateAndTheTree) {
    CDeptStorage depts(db);
    ASSERT_EQ(depts.AddDept(Dept(2, u"R&D 'lab'", 1)), 0);
    ASSERT_EQ(depts.AddDept(Dept(3, u"Team", 2)), 0);
    EXPECT_TRUE(depts.DeptExists(Dept(2, u"", 0)));
    EXPECT_TRUE(depts.DeptIdExists(u"3"));
    EXPECT_FALSE(depts.DeptIdExists(u"4"));
    EXPECT_EQ(Text(u"select DeptName from Dept where Deptid = 2"), u"R&D 'lab'");

    ASSERT_EQ(depts.UpdateDept(Dept(3, u"Team B", 1)), 0);
    EXPECT_EQ(Text(u"select DeptName || '/' || SupDeptid from Dept where Deptid = 3"), u"Team B/1");

    // A parent cannot go; a leaf can, once.
    ASSERT_EQ(depts.AddDept(Dept(4, u"Sub", 3)), 0);
    EXPECT_TRUE(depts.HasSubDepts(u"3"));
    EXPECT_EQ(depts.DeleteDept(u"3"), 4);
    EXPECT_EQ(Rows(), 4);
    EXPECT_EQ(depts.DeleteDept(u"4"), 0);
    EXPECT_EQ(depts.GetCount(), 3);
    EXPECT_EQ(depts.DeleteDept(u"4"), 0);
    EXPECT_EQ(depts.GetCount(), 3);
}

TEST_F(DeptTest, NumbersOnlyWhereANumberIsExpected) {
    CDeptStorage depts(db);
    ASSERT_EQ(depts.AddDept(Dept(2, u"Sales", 1)), 0);
    EXPECT_FALSE(depts.DeptIdExists(u"1 or 1=1"));
    EXPECT_FALSE(depts.HasSubDepts(u"0 or 1=1"));
    EXPECT_FALSE(depts.DeptIdExists(u""));
    EXPECT_EQ(depts.DeleteDept(u"2' or '1'='1"), 4);
    EXPECT_EQ(Rows(), 2);
}

TEST_F(DeptTest, TheHundredAndFirstIsRefused) {
    CDeptStorage depts(db);
    for (int id = 2; id <= 100; ++id) ASSERT_EQ(depts.AddDept(Dept(id, u"d", 1)), 0);
    EXPECT_EQ(depts.GetCount(), 100);
    EXPECT_EQ(depts.AddDept(Dept(101, u"d", 1)), 5);
    EXPECT_EQ(Rows(), 100);
}

TEST_F(DeptTest, PackedDeptPages) {
    CDeptStorage depts(db);
    ASSERT_EQ(depts.AddDept(Dept(0x1234, u"ABCDEFGHIJKLM", 0x0102)), 0);
    // Thirty characters, 59 bytes in GBK: the fifth Chinese one does not fit whole.
    ASSERT_EQ(depts.AddDept(Dept(2, CString(u"B") + CString(u'\u4e00', 29), 1)), 0);
    for (int id = 3; id <= 30; ++id) ASSERT_EQ(depts.AddDept(Dept(id, u"d", 1)), 0);
    std::vector<BYTE> buffer(int{PackedDeptSize} * DeptPageRows + 1, 0xEE);
    int n = 0;
    // A page is 20 whatever the request.
    ASSERT_EQ(depts.ReadFirstPage(buffer.data(), 3, n), 0);
    ASSERT_EQ(n, 20);
    EXPECT_EQ(buffer[20 * PackedDeptSize], 0xEE);
    // The head office, then the long name cut at 10 bytes (GBK for Chinese).
    EXPECT_EQ(std::vector<BYTE>(buffer.begin(), buffer.begin() + 2), Bytes({0x00, 0x01}));
    EXPECT_EQ(std::vector<BYTE>(buffer.begin() + 2, buffer.begin() + 8), Bytes({0xD7, 0xDC, 0xB9, 0xAB, 0xCB, 0xBE}));
    EXPECT_EQ(std::vector<BYTE>(buffer.begin() + PackedDeptSize, buffer.begin() + 2 * PackedDeptSize),
              Bytes({0x12, 0x34, 'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H', 'I', 'J', 0x01, 0x02}));
    EXPECT_EQ(std::vector<BYTE>(buffer.begin() + 2 * PackedDeptSize, buffer.begin() + 3 * PackedDeptSize),
              Bytes({0x00, 0x02, 'B', 0xD2, 0xBB, 0xD2, 0xBB, 0xD2, 0xBB, 0xD2, 0xBB, 0, 0x00, 0x01}));
    std::vector<int> pages{n};
    while (depts.ReadNextPage(buffer.data(), 1, n) == 0 && n > 0) pages.push_back(n);
    EXPECT_EQ(pages, (std::vector<int>{20, 11}));
}

}  // namespace
