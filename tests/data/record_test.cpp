// The attendance-record ring: slots, windows, wrapping, restarts and the
// packed record.
#include <algorithm>
#include <thread>

#include "RecordTestSupport.h"
#include "platform/base/localtime.h"

namespace {

class RecordRingTest : public DataStoreTest {
protected:
    static constexpr unsigned kCapacity = 10;
    void Add(CRecordStore& store, int first, int last) {
        for (int i = first; i <= last; ++i) ASSERT_EQ(store.AddRecord(NumberedRecord(i)), 0);
    }
    int RowAt(int rowid) {
        CString sql;
        sql.Format(u"select Userid from Checkinout where rowid = %d", rowid);
        return Int(sql);
    }
    CString Counters() { return Text(u"select UserCount||','||AllRecordcount||','||NewRecordcount||','||"
                                     u"AllRecordBeginRowid||','||NewRecordBeginRowid from BasePara"); }
};

TEST_F(RecordRingTest, FillsInSlotOrderAndWrapsOverTheOldest) {
    CRecordStore store(db, kCapacity);
    Add(store, 1, 1);
    EXPECT_EQ(RowAt(1), 1);
    Add(store, 2, 10);
    EXPECT_EQ(store.GetAllRecordcount(), 10u);
    EXPECT_EQ(store.HeadSlot(), 1u);
    Add(store, 11, 11);
    EXPECT_EQ(Int(u"select count(*) from Checkinout"), 10);
    EXPECT_EQ(RowAt(1), 11);
    EXPECT_EQ(store.GetAllRecordcount(), 10u);
    EXPECT_EQ(store.GetAllRecordBeginRowid(), 2u);
    EXPECT_EQ(store.GetNewRecordBeginRowid(), 2u);
    Add(store, 12, 12);
    EXPECT_EQ(RowAt(2), 12);
    EXPECT_EQ(AllWindow(store, 4), Range(3, 12));
    EXPECT_EQ(NewWindow(store, 3), Range(3, 12));
}

TEST_F(RecordRingTest, TheSlotIsNamedNotLeftToSqlite) {
    // A stray row above the ring's first slots (a copied file) must not
    // pull the next record away from its slot.
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Checkinout(rowid, Userid) VALUES (7, '999')"));
    CRecordStore store(db, kCapacity);
    Add(store, 1, 2);
    EXPECT_EQ(RowAt(1), 1);
    EXPECT_EQ(RowAt(2), 2);
    EXPECT_EQ(Int(u"select count(*) from Checkinout where rowid > 10"), 0);
}

TEST_F(RecordRingTest, CountersSurviveARestartBelowCapacity) {
    {
        CRecordStore store(db, kCapacity);
        Add(store, 1, 4);
        ASSERT_EQ(store.ConsumeNewRecords(1), 0);
    }
    EXPECT_EQ(Counters(), u"0,4,3,1,2");
    Reopen();
    CRecordStore store(db, kCapacity);
    EXPECT_EQ(store.GetAllRecordcount(), 4u);
    EXPECT_EQ(store.GetNewRecordcount(), 3u);
    // The next record goes after the last one, overwriting nothing.
    Add(store, 5, 5);
    EXPECT_EQ(AllWindow(store, 10), Range(1, 5));
    EXPECT_EQ(NewWindow(store, 10), Range(2, 5));
}

TEST_F(RecordRingTest, CountersThatDisagreeAreMendedAtStart) {
    {
        CRecordStore store(db, kCapacity);
        Add(store, 1, 6);
    }
    // A new window that does not end at the head, as a hand-edited file has.
    ASSERT_TRUE(db.DirectStatement(u"update BasePara set NewRecordcount=2, NewRecordBeginRowid=1"));
    CRecordStore store(db, kCapacity);
    EXPECT_EQ(NewWindow(store, 10), Range(5, 6));
    ASSERT_TRUE(db.DirectStatement(u"update BasePara set AllRecordBeginRowid=0"));
    CRecordStore restarted(db, kCapacity);
    EXPECT_EQ(restarted.GetAllRecordcount(), 0u);
    EXPECT_EQ(restarted.HeadSlot(), 1u);
}

TEST_F(RecordRingTest, ReadersStopAtTheWindowAndTheCallersRoom) {
    CRecordStore store(db, kCapacity);
    Add(store, 1, 13);  // slots 4..10 then 1..3: records 4..13
    ASSERT_EQ(store.ConsumeNewRecords(7), 0);  // new window: 11..13
    std::vector<BYTE> buffer(PackedCheckinoutSize * 8, 0xEE);
    int n = 0;
    ASSERT_EQ(store.ReadNewFirst(buffer.data(), 2, n), 0);
    EXPECT_EQ(PackedIds(buffer.data(), n), std::vector<int>({11, 12}));
    EXPECT_EQ(buffer[2 * PackedCheckinoutSize], 0xEE);
    ASSERT_EQ(store.ReadNewNext(buffer.data(), 2, n), 0);
    EXPECT_EQ(PackedIds(buffer.data(), n), std::vector<int>({13}));
    ASSERT_EQ(store.ReadNewNext(buffer.data(), 2, n), 0);
    EXPECT_EQ(n, 0);

    // The all window across the wrap, in odd batches.
    EXPECT_EQ(AllWindow(store, 3), Range(4, 13));
    // A range asked past the window's end gives only what is in it.
    ASSERT_EQ(store.ReadRange(2, 8, buffer.data(), n), 0);
    EXPECT_EQ(PackedIds(buffer.data(), n), std::vector<int>({12, 13}));
}

TEST_F(RecordRingTest, WindowOperationsMoveTheCountersTogether) {
    CRecordStore store(db, kCapacity);
    Add(store, 1, 6);
    ASSERT_EQ(store.ConsumeNewRecords(2), 0);  // new: 3..6
    ASSERT_EQ(store.DeleteOldest(4), 0);       // all: 5..6, new shrinks with it
    EXPECT_EQ(AllWindow(store, 10), Range(5, 6));
    EXPECT_EQ(NewWindow(store, 10), Range(5, 6));
    ASSERT_EQ(store.ClearNewRecords(), 0);
    EXPECT_TRUE(NewWindow(store, 10).empty());
    // Delete-all then clear-new: the next record follows the last written.
    ASSERT_EQ(store.DeleteOldest(store.GetAllRecordcount()), 0);
    ASSERT_EQ(store.ClearNewRecords(), 0);
    Add(store, 7, 7);
    EXPECT_EQ(RowAt(7), 7);
    EXPECT_EQ(AllWindow(store, 10), Range(7, 7));
    EXPECT_EQ(Counters(), u"0,1,1,7,7");
    // More than there is is cut to what there is.
    ASSERT_EQ(store.ConsumeNewRecords(50), 0);
    EXPECT_EQ(store.GetNewRecordcount(), 0u);
    ASSERT_EQ(store.Reset(), 0);
    EXPECT_EQ(Counters(), u"0,0,0,1,1");
    EXPECT_EQ(store.HeadSlot(), 1u);
}

// Clearing the new records leaves the older ones stored; a record added
// then is the only new one, and a reading of the new window sends it alone.
TEST_F(RecordRingTest, AfterAClearOnlyARecordAddedSinceIsNew) {
    CRecordStore store(db, kCapacity);
    Add(store, 1, 4);
    ASSERT_EQ(store.ClearNewRecords(), 0);
    EXPECT_EQ(store.GetNewRecordBeginRowid(), 5u);
    Add(store, 5, 5);
    EXPECT_EQ(store.GetNewRecordcount(), 1u);
    EXPECT_EQ(NewWindow(store, 10), Range(5, 5));
    EXPECT_EQ(AllWindow(store, 10), Range(1, 5));
    EXPECT_EQ(Counters(), u"0,5,1,1,5");
}

// Rows gone from the window (a copied file): a batch reads on past them,
// so that only the window's end gives a short batch, across the wrap too.
TEST_F(RecordRingTest, ReadersPassOverSlotsWithoutTheirRow) {
    CRecordStore store(db, kCapacity);
    Add(store, 1, 13);  // slots 4..10 hold 4..10, slots 1..3 hold 11..13
    ASSERT_TRUE(db.DirectStatement(u"delete from Checkinout where rowid in (5, 9, 10, 1)"));
    std::vector<BYTE> buffer(PackedCheckinoutSize * 3);
    int n = 0;
    ASSERT_EQ(store.ReadAllFirst(buffer.data(), 0, 3, n), 0);
    EXPECT_EQ(PackedIds(buffer.data(), n), std::vector<int>({4, 6, 7}));
    ASSERT_EQ(store.ReadAllNext(buffer.data(), 3, n), 0);
    EXPECT_EQ(PackedIds(buffer.data(), n), std::vector<int>({8, 12, 13})) << "on past the wrap";
    ASSERT_EQ(store.ReadAllNext(buffer.data(), 3, n), 0);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(NewWindow(store, 2), std::vector<int>({4, 6, 7, 8, 12, 13}));
}

TEST_F(RecordRingTest, ACursorKeepsItsRecordWhileTheWindowMoves) {
    CRecordStore store(db, kCapacity);
    Add(store, 1, 10);
    std::vector<BYTE> buffer(PackedCheckinoutSize * 4);
    int n = 0;
    store.ReadAllFirst(buffer.data(), 0, 4, n);
    EXPECT_EQ(PackedIds(buffer.data(), n), Range(1, 4));
    Add(store, 11, 12);  // records 1 and 2 are gone
    store.ReadAllNext(buffer.data(), 4, n);
    EXPECT_EQ(PackedIds(buffer.data(), n), Range(5, 8));
}

TEST_F(RecordRingTest, ThePcCollectsWhilePunchesComeIn) {
    CRecordStore store(db, 50);
    std::thread punches([&] {
        for (int i = 1; i <= 150; ++i) ASSERT_EQ(store.AddRecord(NumberedRecord(i)), 0);
    });
    // Collect in batches, marking what was read; nothing is read twice or
    // lost unless the ring overwrote it first, and the order holds.
    std::vector<int> collected;
    std::vector<BYTE> buffer(PackedCheckinoutSize * 7);
    for (int round = 0; round < 400 && (collected.empty() || collected.back() < 150); ++round) {
        int n = 0;
        store.ReadNewFirst(buffer.data(), 7, n);
        const std::vector<int> got = PackedIds(buffer.data(), n);
        ASSERT_EQ(store.ConsumeNewRecords(n), 0);
        for (int id : got) {
            if (!collected.empty()) {
                EXPECT_GT(id, collected.back());
            }
            collected.push_back(id);
        }
        if (round % 10 == 9) std::this_thread::yield();
    }
    punches.join();
    const std::vector<int> rest = NewWindow(store, 50);
    collected.insert(collected.end(), rest.begin(), rest.end());
    ASSERT_FALSE(collected.empty());
    EXPECT_EQ(collected.back(), 150);
    EXPECT_TRUE(std::is_sorted(collected.begin(), collected.end()));
    EXPECT_EQ(std::adjacent_find(collected.begin(), collected.end()), collected.end());
    EXPECT_LE(store.GetNewRecordcount(), store.GetAllRecordcount());
}

TEST(RecordTime, ParseAndPack) {
    int y, mo, d, h, mi, s;
    CRecordStore::ParseCheckTime(u"2014-9-1 8:05:3", y, mo, d, h, mi, s);
    EXPECT_EQ(std::vector<int>({y, mo, d, h, mi, s}), std::vector<int>({2014, 9, 1, 8, 5, 3}));
    EXPECT_EQ(SecondsSince2000(2000, 1, 2, 0, 0, 0), 0);
    EXPECT_EQ(SecondsSince2000(2000, 1, 3, 0, 0, 0), 86400);
    EXPECT_EQ(SecondsSince2000(2000, 3, 1, 0, 0, 1), (30 + 29) * 86400 + 1);  // 2000 is a leap year
}

// A stored text may hold any 32-bit field (a copied file): the span is
// counted in 64 bits, and a time that 32 bits carry neither unsigned nor
// signed is packed as the mark rather than as a wrapped, wrong time.
TEST(RecordTime, FarTimesAreCountedWholeAndMarkedWhenTheyCannotBePacked) {
    const int64_t days = DaysFromCivil(2147483647, 12, 31) - DaysFromCivil(2000, 1, 2);
    EXPECT_EQ(SecondsSince2000(2147483647, 12, 31, 23, 59, 59), days * 86400 + 86399);
    EXPECT_EQ(SecondsSince2000(-2147483647 - 1, 1, 1, 0, 0, 0),
              (DaysFromCivil(-2147483647 - 1, 1, 1) - DaysFromCivil(2000, 1, 2)) * 86400);
    EXPECT_EQ(SecondsSince2000(2000, 1, 2, 2147483647, 2147483647, 2147483647),
              2147483647LL * 3600 + 2147483647LL * 60 + 2147483647LL);
    EXPECT_EQ(PackedSeconds(0xFFFFFFFFLL), 0xFFFFFFFFu);
    EXPECT_EQ(PackedSeconds(-1), 0xFFFFFFFFu) << "2000-01-01 23:59:59, as a signed reader takes it";
    EXPECT_EQ(PackedSeconds(-2147483647LL - 1), 0x80000000u);
    EXPECT_EQ(PackedSeconds(0x100000000LL), kUnpackableSeconds);
    EXPECT_EQ(PackedSeconds(-2147483647LL - 2), kUnpackableSeconds);
}

TEST_F(RecordRingTest, AFarTimeIsPackedAsTheMark) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Checkinout VALUES ('7', '2147483647-12-31 23:59:59', 1, 0, 0)"));
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Checkinout VALUES ('8', '1999-12-31 00:00:00', 1, 0, 0)"));
    StatementPtr rows(db.Statement(u"select * from Checkinout order by rowid"));
    BYTE out[PackedCheckinoutSize];
    ASSERT_TRUE(rows->NextRow());
    PackCheckinout(*rows, out);
    EXPECT_EQ(std::vector<BYTE>(out + 5, out + 9), Bytes({0xFF, 0xFF, 0xFF, 0xFF}));
    ASSERT_TRUE(rows->NextRow());
    PackCheckinout(*rows, out);
    EXPECT_EQ(std::vector<BYTE>(out + 5, out + 9), Bytes({0xFF, 0xFD, 0x5D, 0x00})) << "two days before, as ever";
}

TEST_F(RecordRingTest, PackedCheckinout) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Checkinout VALUES ('987654321012', '2000-01-03 00:00:01', 5, 1, "
                                   u"151060480)"));  // 0x09010000: pass type 9
    StatementPtr row(db.Statement(u"select * from Checkinout"));
    ASSERT_TRUE(row->NextRow());
    BYTE out[PackedCheckinoutSize];
    std::memset(out, 0xAB, sizeof out);
    PackCheckinout(*row, out);
    EXPECT_EQ(std::vector<BYTE>(out, out + PackedCheckinoutSize),
              Bytes({0xE5, 0xF4, 0xC8, 0xF3, 0x74, 0x00, 0x01, 0x51, 0x81, 0x09, 0x05, 0xAB, 0xAB, 0xAB}));
}

class FullRingTest : public DataStoreTest {
protected:
    // 100000 records in place, numbered by slot, the ring wrapped so that
    // slot 100000 - 5 is the oldest: records 1..100000 in slots
    // 99995..100000, 1..99994.
    void SetUp() override {
        DataStoreTest::SetUp();
        ASSERT_TRUE(db.DirectStatement(
            u"INSERT INTO Checkinout(rowid, Userid, CheckTime, CheckType, IsDownLoad, WorkNumberAndPassType) "
            u"WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < 100000) "
            u"SELECT n, (n + 5) % 100000 + 1, '2014-09-01 08:00:00', 0, 0, 0 FROM s"));
        ASSERT_TRUE(db.DirectStatement(u"update BasePara set AllRecordcount=100000, NewRecordcount=100000, "
                                       u"AllRecordBeginRowid=99995, NewRecordBeginRowid=99995"));
    }
};

TEST_F(FullRingTest, WrapsAtAHundredThousand) {
    CRecordStore store(db);
    EXPECT_EQ(store.GetCapacity(), 100000u);
    EXPECT_EQ(store.HeadSlot(), 99995u);
    std::vector<BYTE> buffer(PackedCheckinoutSize * 10);
    int n = 0;
    // Slots 99995..100000 then 1..4.
    ASSERT_EQ(store.ReadRange(99995, 10, buffer.data(), n), 0);
    EXPECT_EQ(PackedIds(buffer.data(), n), Range(1, 10));

    // Six more records wrap the head over the ring's end.
    for (int i = 0; i < 6; ++i) ASSERT_EQ(store.AddRecord(NumberedRecord(100001 + i)), 0);
    EXPECT_EQ(store.GetAllRecordcount(), 100000u);
    EXPECT_EQ(store.GetAllRecordBeginRowid(), 1u);
    EXPECT_EQ(store.HeadSlot(), 1u);
    EXPECT_EQ(Int(u"select Userid from Checkinout where rowid = 100000"), 100006);
    ASSERT_EQ(store.AddRecord(NumberedRecord(100007)), 0);
    EXPECT_EQ(store.GetAllRecordBeginRowid(), 2u);
    EXPECT_EQ(Int(u"select Userid from Checkinout where rowid = 1"), 100007);

    // The newest records are in both windows, in order.
    ASSERT_EQ(store.ConsumeNewRecords(99990), 0);
    EXPECT_EQ(NewWindow(store, 7), Range(100007 - 9, 100007));
    int count = 0;
    ASSERT_EQ(store.CountRecords(65535, u"", count, u"2000-01-01 00:00:00", u"2099-01-01 00:00:00"), 0);
    EXPECT_EQ(count, 100000);

    // A restart finds the ring as it was left.
    Reopen();
    CRecordStore again(db);
    EXPECT_EQ(again.GetAllRecordcount(), 100000u);
    EXPECT_EQ(again.GetAllRecordBeginRowid(), 2u);
    EXPECT_EQ(again.HeadSlot(), 2u);
    EXPECT_EQ(NewWindow(again, 4), Range(100007 - 9, 100007));
    std::vector<BYTE> oldest(PackedCheckinoutSize);
    ASSERT_EQ(again.ReadAllFirst(oldest.data(), 0, 1, n), 0);
    EXPECT_EQ(PackedIds(oldest.data(), n), std::vector<int>({100007 - 99999}));
}

}  // namespace
