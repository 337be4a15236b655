// Users: the operations of the user pages and the PC protocol's pages.
#include "DataTestSupport.h"
#include "data/FPTemplateStore.h"
#include "data/PackedRecords.h"
#include "data/UserStorage.h"

namespace {

class UserTest : public DataStoreTest {
protected:
    static UserInfoRecord User(LPCWSTR id, LPCWSTR name) {
        UserInfoRecord user;
        user.userid = id;
        user.Name = name;
        user.Deptid = 1;
        return user;
    }
    int UserCountColumn() { return Int(u"select UserCount from BasePara"); }
    int Rows() { return Int(u"select count(*) from Userinfo"); }
};

TEST_F(UserTest, AddReadUpdateAndDelete) {
    CUserStorage users(db);
    UserInfoRecord user = User(u"1001", u"Li Lei");
    user.CardNo = u"123456";
    user.pwd = u"0042";
    user.GroupNO = 3;
    user.AdminFlag = 1;
    user.ACFlag = 2;
    ASSERT_EQ(users.AddUser(user), 0);
    EXPECT_TRUE(users.UserIdExists(u"1001"));
    EXPECT_TRUE(users.UserExists(user));
    EXPECT_FALSE(users.UserIdExists(u"1002"));

    UserInfoRecord read;
    ASSERT_TRUE(users.GetUser(u"1001", &read));
    EXPECT_EQ(read.Name, u"Li Lei");
    EXPECT_EQ(read.CardNo, u"123456");
    EXPECT_EQ(read.pwd, u"0042");
    EXPECT_EQ(read.DeptName, u"总公司");
    EXPECT_EQ(read.GroupNO, 3);
    EXPECT_EQ(read.AdminFlag, 1);
    EXPECT_EQ(read.ACFlag, 2);
    EXPECT_EQ(read.FPFlag, 0);

    user.Name = u"Han Meimei";
    user.Deptid = 9;
    ASSERT_EQ(users.UpdateUser(user), 0);
    ASSERT_TRUE(users.GetUser(u"1001", &read));
    EXPECT_EQ(read.Name, u"Han Meimei");
    EXPECT_EQ(read.DeptName, u"");  // department 9 does not exist
    // A user that is not there is not an error, and changes nothing.
    EXPECT_EQ(users.UpdateUser(User(u"555", u"nobody")), 0);
    EXPECT_EQ(Rows(), 1);

    ASSERT_EQ(users.SetFPFlag(u"1001", 0x5), 0);
    int mask = 0;
    ASSERT_TRUE(users.GetFPFlag(u"1001", &mask));
    EXPECT_EQ(mask, 0x5);
    EXPECT_FALSE(users.GetFPFlag(u"555", &mask));

    EXPECT_EQ(users.ClearAdminFlags(), 0);
    ASSERT_TRUE(users.GetUser(u"1001", &read));
    EXPECT_EQ(read.AdminFlag, 0);

    ASSERT_EQ(users.DeleteUser(u"1001"), 0);
    EXPECT_FALSE(users.GetUser(u"1001", &read));
}

TEST_F(UserTest, TheDevicesVerifyModeStandsInForSix) {
    CUserStorage users(db);
    ASSERT_EQ(users.AddUser(User(u"7", u"a")), 0);
    UserInfoRecord read;
    ASSERT_TRUE(users.GetUser(u"7", &read));
    EXPECT_EQ(read.ACFlag, 6);
    g_DataStoreServices.deviceVerifyMode = [] { return 3; };
    ASSERT_TRUE(users.GetUser(u"7", &read));
    EXPECT_EQ(read.ACFlag, 3);
}

TEST_F(UserTest, TypedQuotesAreStoredLiterally) {
    CUserStorage users(db);
    const CString injection = u"x'); DELETE FROM Userinfo; --";
    ASSERT_EQ(users.AddUser(User(u"1", u"O'Brien")), 0);
    ASSERT_EQ(users.AddUser(User(u"2", injection)), 0);
    UserInfoRecord read;
    ASSERT_TRUE(users.GetUser(u"1", &read));
    EXPECT_EQ(read.Name, u"O'Brien");
    ASSERT_TRUE(users.GetUser(u"2", &read));
    EXPECT_EQ(read.Name, injection);
    // An id typed with a quote finds nothing and deletes nothing.
    EXPECT_FALSE(users.UserIdExists(u"1' or '1'='1"));
    EXPECT_EQ(users.DeleteUser(u"1' or '1'='1"), 0);
    EXPECT_EQ(Rows(), 2);
    UserInfoRecord edited = User(u"1", u"D'Arcy");
    ASSERT_EQ(users.UpdateUser(edited), 0);
    ASSERT_TRUE(users.GetUser(u"1", &read));
    EXPECT_EQ(read.Name, u"D'Arcy");
}

TEST_F(UserTest, UserCountFollowsTheRows) {
    {
        CUserStorage users(db);
        EXPECT_EQ(users.GetMax(), 5000);
        ASSERT_EQ(users.AddUser(User(u"1", u"a")), 0);
        ASSERT_EQ(users.AddUser(User(u"2", u"b")), 0);
        ASSERT_EQ(users.AddUser(User(u"3", u"c")), 0);
        EXPECT_EQ(users.GetCount(), 3);
        EXPECT_EQ(UserCountColumn(), 3);
        // Deleting a user that is not there changes no count.
        ASSERT_EQ(users.DeleteUser(u"99"), 0);
        EXPECT_EQ(users.GetCount(), 3);
        ASSERT_EQ(users.DeleteUser(u"2"), 0);
        EXPECT_EQ(users.GetCount(), 2);
        EXPECT_EQ(UserCountColumn(), 2);
    }
    // A count that drifted in the file is mended at start.
    ASSERT_TRUE(db.DirectStatement(u"update BasePara set UserCount = 7"));
    Reopen();
    CUserStorage users(db);
    EXPECT_EQ(users.GetCount(), 2);
    EXPECT_EQ(UserCountColumn(), 2);
    EXPECT_EQ(users.DeleteAll(), 0);
    EXPECT_EQ(users.GetCount(), 0);
    EXPECT_EQ(UserCountColumn(), 0);
    EXPECT_EQ(Rows(), 0);
    // With the count at 0 a delete leaves it at 0.
    ASSERT_EQ(users.DeleteUser(u"1"), 0);
    EXPECT_EQ(users.GetCount(), 0);
}

TEST_F(UserTest, AFullTableTakesNoMoreUsers) {
    CUserStorage users(db);
    ASSERT_EQ(users.AddUser(User(u"1", u"a")), 0);
    users.SetCount(5000);
    EXPECT_EQ(users.AddUser(User(u"2", u"b")), 5);
    EXPECT_EQ(Rows(), 1);
    EXPECT_FALSE(users.UserIdExists(u"2"));
}

TEST_F(UserTest, DeleteTakesTheFingersAndTemplatesAlong) {
    CFPTemplateStore store;
    store.Allocate(10, OldStoredTemplateSize);
    g_pFPTemplateStore = &store;
    CUserStorage users(db);
    ASSERT_EQ(users.AddUser(User(u"5", u"a")), 0);
    ASSERT_EQ(users.AddUser(User(u"6", u"b")), 0);
    const BYTE templ[StoredTemplateSize] = {9};
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO FPinfo VALUES (0, '5', x'00'), (3, '5', x'00'), (1, '6', x'00')"));
    ASSERT_EQ(store.Add(templ, u"5", 0, FALSE, StoredTemplateSize), 1);
    ASSERT_EQ(store.Add(templ, u"6", 1, FALSE, StoredTemplateSize), 1);
    ASSERT_EQ(store.Add(templ, u"5", 3, FALSE, StoredTemplateSize), 1);
    EXPECT_EQ(GetUserFingerNumbers(db, u"5"), 0x9);

    ASSERT_EQ(users.DeleteUser(u"5"), 0);
    EXPECT_EQ(Int(u"select count(*) from FPinfo where UserID = '5'"), 0);
    EXPECT_EQ(Int(u"select count(*) from FPinfo"), 1);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_EQ(store.FindSlot(u"5", 0), nullptr);
    EXPECT_NE(store.FindSlot(u"6", 1), nullptr);
    g_pFPTemplateStore = nullptr;
}

class PackedUserTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        CUserStorage users(db);
        UserInfoRecord admin = User(u"4294967298", u"ABC");  // 2^32 + 2
        admin.pwd = u"00123";
        admin.CardNo = u"16909060";  // 0x01020304
        admin.Deptid = 0x105;
        admin.GroupNO = 2;
        admin.ACFlag = 0x11;
        admin.AdminFlag = 1;
        ASSERT_EQ(users.AddUser(admin), 0);
        ASSERT_EQ(users.AddUser(User(u"17", u"")), 0);
        ASSERT_TRUE(db.DirectStatement(u"INSERT INTO FPinfo VALUES (0, '4294967298', x''), (9, '4294967298', x'')"));
    }
};

TEST_F(PackedUserTest, PackedUser27) {
    CUserStorage users(db);
    BYTE buffer[int{UserPageRows} * PackedUser27Size + 1];
    std::memset(buffer, 0xEE, sizeof buffer);
    int n = 0;
    ASSERT_EQ(users.ReadUsersFirst(buffer, 2, n), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(std::vector<BYTE>(buffer, buffer + PackedUser27Size),
              Bytes({0x01, 0x00, 0x00, 0x00, 0x02,               // id, 40 bits
                     0x30, 0x00, 0x7B,                           // "00123": 3 digits of 123
                     0x02, 0x03, 0x04,                           // card, low 24 bits
                     'A', 'B', 'C', 0, 0, 0, 0, 0, 0, 0,         // name
                     0x05, 0x02, 0x11,                           // dept, group, verify mode
                     0x02, 0x01,                                 // fingers 0 and 9
                     0xC0}));
    EXPECT_EQ(std::vector<BYTE>(buffer + PackedUser27Size, buffer + 2 * PackedUser27Size),
              Bytes({0, 0, 0, 0, 17, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                     1, 0, 6, 0, 0, 0}));
    EXPECT_EQ(buffer[2 * PackedUser27Size], 0xEE) << "two users, two records";
    // The cursor moved on by what was read.
    ASSERT_EQ(users.ReadUsersNext(buffer, 12, n), 0);
    EXPECT_EQ(n, 0);
}

TEST_F(PackedUserTest, PackedUser30) {
    CUserStorage users(db);
    BYTE buffer[int{UserPageRows} * PackedUser30Size + 1];
    std::memset(buffer, 0xEE, sizeof buffer);
    int n = 0;
    // A page is twelve whatever the request: both users come.
    ASSERT_EQ(users.ReadUsersFirstEx(buffer, 1, n), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(std::vector<BYTE>(buffer, buffer + PackedUser30Size),
              Bytes({0x01, 0x00, 0x00, 0x00, 0x02, 0x30, 0x00, 0x7B, 0x01, 0x02, 0x03, 0x04, 'A', 'B', 'C', 0, 0, 0,
                     0, 0, 0, 0, 0x05, 0x02, 0x11, 0x02, 0x01, 0, 0, 0xD0}));
    const BYTE* second = buffer + PackedUser30Size;
    EXPECT_EQ(std::vector<BYTE>(second, second + 12), Bytes({0, 0, 0, 0, 17, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(second[29], 0x10);
    EXPECT_EQ(buffer[2 * PackedUser30Size], 0xEE);
    ASSERT_EQ(users.ReadUsersNextEx(buffer, 12, n), 0);
    EXPECT_EQ(n, 0);
}

// A name longer than the ten name bytes (a restored database may hold one
// of any length) keeps the whole characters that fit: the lead byte of a
// character cut in two would read as another character.
TEST_F(PackedUserTest, ALongNameKeepsTheWholeCharactersThatFit) {
    CUserStorage users(db);
    const CString name = CString(u"A") + CString(u'\u4e00', 63);  // 64 characters, 127 bytes in GBK
    ASSERT_TRUE(db.DirectStatement(CString(u"update Userinfo set Name = '") + name + u"' where userid = '17'"));
    const std::vector<BYTE> fitting = Bytes({'A', 0xD2, 0xBB, 0xD2, 0xBB, 0xD2, 0xBB, 0xD2, 0xBB, 0});
    BYTE buffer[int{UserPageRows} * PackedUser30Size];
    int n = 0;
    ASSERT_EQ(users.ReadUsersFirst(buffer, 2, n), 0);
    ASSERT_EQ(n, 2);
    const BYTE* second = buffer + PackedUser27Size;
    EXPECT_EQ(std::vector<BYTE>(second + 11, second + 21), fitting);
    EXPECT_EQ(second[21], 1) << "the department follows the name";
    ASSERT_EQ(users.ReadUsersFirstEx(buffer, 2, n), 0);
    second = buffer + PackedUser30Size;
    EXPECT_EQ(std::vector<BYTE>(second + 12, second + 22), fitting);
}

TEST(PackedPassword, DigitCountAndLow20Bits) {
    BYTE out[3];
    PackPassword(out, u"", 0);
    EXPECT_EQ(std::vector<BYTE>(out, out + 3), Bytes({0xFF, 0xFF, 0xFF}));
    PackPassword(out, u"999999", 999999);  // 0xF423F
    EXPECT_EQ(std::vector<BYTE>(out, out + 3), Bytes({0x6F, 0x42, 0x3F}));
    PackPassword(out, u"000", 0);
    EXPECT_EQ(std::vector<BYTE>(out, out + 3), Bytes({0x10, 0x00, 0x00}));
}

}  // namespace
