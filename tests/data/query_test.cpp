// Record queries by time range, department and user over the ring.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "RecordTestSupport.h"
#include "data/UserStorage.h"
#include "platform/base/utf.h"

namespace {

class RecordQueryTest : public DataStoreTest {
protected:
    void SetUp() override {
        DataStoreTest::SetUp();
        CUserStorage users(db);
        AddUser(users, u"1", u"Ann", 1);
        AddUser(users, u"2", u"O'Neil", 2);
    }
    static void AddUser(CUserStorage& users, LPCWSTR id, LPCWSTR name, int dept) {
        UserInfoRecord user;
        user.userid = id;
        user.Name = name;
        user.Deptid = dept;
        ASSERT_EQ(users.AddUser(user), 0);
    }
    static void Punch(CRecordStore& store, LPCWSTR id, LPCWSTR time, int status) {
        CheckinoutRecord record;
        record.Userid = id;
        record.CheckTime = time;
        record.CheckType = status;
        ASSERT_EQ(store.AddRecord(record), 0);
    }
    static int Count(CRecordStore& store, int dept, LPCWSTR id, LPCWSTR from, LPCWSTR to) {
        int count = -1;
        store.CountRecords(dept, id, count, from, to);
        return count;
    }
};

TEST_F(RecordQueryTest, FiltersByTimeDepartmentAndUser) {
    CRecordStore store(db, 6);
    Punch(store, u"1", u"2014-09-01 07:00:00", 0);  // overwritten below
    Punch(store, u"1", u"2014-09-01 08:05:00", 0);
    Punch(store, u"2", u"2014-09-01 09:00:00", 1);
    Punch(store, u"1", u"2014-09-01 17:30:00", 1);
    Punch(store, u"2", u"2014-09-02 08:00:00", 0);
    Punch(store, u"3", u"2014-09-02 08:30:00", 2);
    Punch(store, u"2", u"2014-09-02 18:00:00", 1);  // wraps over the first
    const LPCWSTR from = u"2014-09-01 00:00:00", to = u"2014-09-02 23:59:59";
    EXPECT_EQ(Count(store, 65535, u"", from, to), 6);
    EXPECT_EQ(Count(store, 65535, u"", u"2014-09-01 08:05:00", u"2014-09-01 17:30:00"), 3);
    EXPECT_EQ(Count(store, 2, u"", from, to), 3);
    EXPECT_EQ(Count(store, 65535, u"1", from, to), 2);
    EXPECT_EQ(Count(store, 65535, u"1' or '1'='1", from, to), 0);

    int n = 0;
    ASSERT_EQ(store.QueryRecordPage(0, 10, 2, u"", n, from, to), 0);
    ASSERT_EQ(n, 3);
    std::set<std::u16string> times;
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(CString(store.PageText(i, 0)), u"2");
        EXPECT_EQ(CString(store.PageText(i, 1)), u"O'Neil");
        EXPECT_EQ(CString(store.PageText(i, 4)), u"0");
        times.insert(store.PageText(i, 2));
        if (CString(store.PageText(i, 2)) == u"2014-09-01 09:00:00") {
            EXPECT_EQ(CString(store.PageText(i, 3)), u"OUT");
        }
    }
    // The newest record, in the slot after the wrap, is there.
    EXPECT_EQ(times, std::set<std::u16string>({u"2014-09-01 09:00:00", u"2014-09-02 08:00:00", u"2014-09-02 18:00:00"}));

    // Paging on, and a page never larger than its ten rows.
    ASSERT_EQ(store.QueryRecordPage(4, 10, 65535, u"", n, from, to), 0);
    EXPECT_EQ(n, 2);
    ASSERT_EQ(store.QueryRecordPage(0, 50, 65535, u"", n, from, to), 0);
    EXPECT_EQ(n, 6);
}

// The count is the number of rows the pages hold: a record of a user who
// is no longer in the user table counts when its ID is asked for, and a
// record whose status has no name is neither counted nor listed.
TEST_F(RecordQueryTest, CountMatchesThePagesRows) {
    CRecordStore store(db, 10);
    Punch(store, u"7", u"2014-09-01 08:00:00", 0);   // user 7 is not in the user table
    Punch(store, u"7", u"2014-09-01 17:00:00", 1);
    Punch(store, u"1", u"2014-09-01 08:01:00", 99);  // no status 99 in StatusBase
    Punch(store, u"1", u"2014-09-01 17:01:00", 1);
    const LPCWSTR from = u"2014-09-01 00:00:00", to = u"2014-09-01 23:59:59";
    for (const LPCWSTR id : {u"", u"7", u"1"}) {
        int n = -1;
        ASSERT_EQ(store.QueryRecordPage(0, 10, 65535, id, n, from, to), 0);
        EXPECT_EQ(Count(store, 65535, id, from, to), n) << "user " << Utf16ToUtf8(id);
    }
    EXPECT_EQ(Count(store, 65535, u"7", from, to), 2);
    EXPECT_EQ(Count(store, 65535, u"1", from, to), 1);
}

// Pages go in the ring's order, oldest first, across its wrap, and a
// page that starts past the wrap starts at the right record.
TEST_F(RecordQueryTest, PagesFollowTheRingAcrossItsWrap) {
    CRecordStore store(db, 5);
    for (int i = 0; i < 8; ++i) {
        CString time;
        time.Format(u"2014-09-01 08:0%d:00", i);
        Punch(store, u"1", time, 0);
    }
    const LPCWSTR from = u"2014-09-01 00:00:00", to = u"2014-09-01 23:59:59";
    int n = 0;
    ASSERT_EQ(store.QueryRecordPage(0, 10, 65535, u"", n, from, to), 0);
    ASSERT_EQ(n, 5);
    for (int i = 0; i < n; ++i) {
        CString time;
        time.Format(u"2014-09-01 08:0%d:00", i + 3);
        EXPECT_EQ(CString(store.PageText(i, 2)), time) << "row " << i;
    }
    ASSERT_EQ(store.QueryRecordPage(3, 2, 1, u"", n, from, to), 0);
    ASSERT_EQ(n, 2);
    EXPECT_EQ(CString(store.PageText(0, 2)), u"2014-09-01 08:06:00");
    EXPECT_EQ(Count(store, 1, u"1", from, to), 5);
}

// Over a wrapped ring that holds records no query should show (a time out
// of range or missing, a status without a name or missing, records before
// the window that the table still keeps), the count and every page,
// walked from the first to the last, are the window's matching records in
// ring order, whether the window fills most of the ring or little of it.
TEST_F(RecordQueryTest, CountAndEveryPageOverAWrappedRing) {
    constexpr int kCapacity = 40, kPunches = 100;
    struct Stored {
        CString time;
        bool shown;
    };
    std::vector<Stored> punched;
    CRecordStore store(db, kCapacity);
    for (int i = 0; i < kPunches; ++i) {
        CString time;
        time.Format(u"%d-09-01 08:%02d:%02d", i % 5 == 0 ? 2013 : 2014, i / 60, i % 60);
        const int status = i % 7 == 0 ? 99 : i % 8;
        Punch(store, u"1", time, status);
        punched.push_back({time, i % 5 != 0 && status != 99});
    }
    // Slot of punch i is i % capacity + 1; these three are in every window
    // below.
    auto edit = [&](int punch, LPCWSTR set) {
        CString sql;
        sql.Format(u"update Checkinout set %s where rowid=%d", set, punch % kCapacity + 1);
        ASSERT_TRUE(db.DirectStatement(sql));
        punched[punch].shown = false;
    };
    edit(93, u"CheckTime=NULL");
    edit(94, u"CheckType=NULL");
    edit(96, u"CheckType='x'");
    // A range that holds most records, and one that holds few.
    const std::vector<std::pair<std::u16string_view, std::u16string_view>> ranges{
        {u"2014-01-01 00:00:00", u"2014-12-31 23:59:59"}, {u"2014-09-01 08:01:00", u"2014-09-01 08:01:29"}};

    for (const int deleted : {0, 5, 25}) {
        ASSERT_EQ(store.DeleteOldest(deleted - (kCapacity - static_cast<int>(store.GetAllRecordcount()))), 0);
        for (const auto& [from, to] : ranges) {
            std::vector<CString> expected;
            for (int i = kPunches - kCapacity + deleted; i < kPunches; ++i)
                if (punched[i].shown && punched[i].time.str() >= from && punched[i].time.str() <= to)
                    expected.push_back(punched[i].time);
            const std::string context = Utf16ToUtf8(from) + ", " + std::to_string(deleted) + " deleted";
            const int count = Count(store, 65535, u"", from.data(), to.data());
            EXPECT_EQ(count, static_cast<int>(expected.size())) << context;

            std::vector<CString> listed;
            for (int offset = 0; offset < count + 7; offset += 7) {
                int n = -1;
                ASSERT_EQ(store.QueryRecordPage(offset, 7, 65535, u"", n, from.data(), to.data()), 0);
                EXPECT_EQ(n, std::clamp(count - offset, 0, 7)) << "offset " << offset;
                for (int row = 0; row < n; ++row) listed.push_back(store.PageText(row, 2));
            }
            EXPECT_EQ(listed, expected) << context;
            EXPECT_EQ(Count(store, 65535, u"", to.data(), from.data()), 0);
        }
    }
}

}  // namespace
