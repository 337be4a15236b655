// The in-memory template store: dense slots, one slot per finger, the
// sensor generations' forms, the fill from FPinfo and concurrent writers.
#include <algorithm>
#include <random>
#include <thread>

#include "DataTestSupport.h"
#include "data/FPTemplateStore.h"

namespace {

// A stored 338-byte blob whose bytes all carry `mark`.
std::vector<BYTE> Blob(BYTE mark, int size = StoredTemplateSize) { return std::vector<BYTE>(size, mark); }

class TemplateStoreTest : public DataStoreTest {
protected:
    void SetUp() override {
        DataStoreTest::SetUp();
        store.Allocate(TemplateLimit, OldStoredTemplateSize);
    }
    int Add(LPCWSTR id, int finger, BYTE mark) {
        const std::vector<BYTE> blob = Blob(mark);
        return store.Add(blob.data(), id, finger, FALSE, StoredTemplateSize);
    }
    // Every occupied slot lies below the count and is found again.
    void ExpectDense() {
        for (int i = 0; i < store.GetCount(); ++i) {
            CString id;
            int finger = -1;
            ASSERT_TRUE(store.GetEntry(i, id, finger)) << i;
            EXPECT_EQ(store.FindSlot(id, finger), store.GetTemplates() + i * store.GetTemplateSize());
        }
        CString id;
        int finger;
        EXPECT_FALSE(store.GetEntry(store.GetCount(), id, finger));
        EXPECT_FALSE(store.GetEntry(-1, id, finger));
    }
    CFPTemplateStore store;
};

TEST_F(TemplateStoreTest, DeletesLeaveTheSlotsDense) {
    for (int user = 1; user <= 20; ++user)
        for (int finger = 0; finger < 3; ++finger) {
            CString id;
            id.Format(u"%d", user);
            ASSERT_EQ(Add(id, finger, static_cast<BYTE>(user * 10 + finger)), 1);
        }
    EXPECT_EQ(store.GetCount(), 60);
    EXPECT_EQ(store.Delete(u"1", -1), 1);
    EXPECT_EQ(store.Delete(u"7", 1), 1);
    EXPECT_EQ(store.Delete(u"20", -1), 1);
    EXPECT_EQ(store.Delete(u"nobody", -1), 1);
    EXPECT_EQ(store.GetCount(), 53);
    ExpectDense();
    // Each remaining template still holds its own bytes.
    for (int user = 2; user <= 19; ++user)
        for (int finger = 0; finger < 3; ++finger) {
            CString id;
            id.Format(u"%d", user);
            BYTE* slot = store.FindSlot(id, finger);
            if (user == 7 && finger == 1) {
                EXPECT_EQ(slot, nullptr);
                continue;
            }
            ASSERT_NE(slot, nullptr);
            EXPECT_EQ(slot[0], user * 10 + finger);
            EXPECT_EQ(slot[OldStoredTemplateSize - 1], user * 10 + finger);
        }
}

// The slots as (user, finger, first byte), in slot order.
struct Slot {
    CString id;
    int finger;
    BYTE mark;
    bool operator==(const Slot&) const = default;
};

std::vector<Slot> Layout(CFPTemplateStore& store) {
    std::vector<Slot> slots;
    for (int i = 0; i < store.GetCount(); ++i) {
        Slot slot;
        store.GetEntry(i, slot.id, slot.finger);
        slot.mark = store.GetTemplates()[i * store.GetTemplateSize()];
        slots.push_back(slot);
    }
    return slots;
}

TEST_F(TemplateStoreTest, ADeletedSlotTakesTheLastOneTopDown) {
    ASSERT_EQ(Add(u"A", 0, 1), 1);
    ASSERT_EQ(Add(u"B", 0, 2), 1);
    ASSERT_EQ(Add(u"A", 1, 3), 1);
    ASSERT_EQ(Add(u"C", 0, 4), 1);
    ASSERT_EQ(Add(u"A", 0, 5), 1);  // replaced where it is
    EXPECT_EQ(Layout(store), (std::vector<Slot>{{u"A", 0, 5}, {u"B", 0, 2}, {u"A", 1, 3}, {u"C", 0, 4}}));
    // Slot 2 goes first and C moves into it, then slot 0 and C moves again.
    EXPECT_EQ(store.Delete(u"A", -1), 1);
    EXPECT_EQ(Layout(store), (std::vector<Slot>{{u"C", 0, 4}, {u"B", 0, 2}}));
    EXPECT_EQ(store.FindSlot(u"C", 0), store.GetTemplates());
    EXPECT_EQ(store.FindSlot(u"A", 0), nullptr);
    EXPECT_EQ(store.FindSlot(u"a", 1), nullptr);  // ids compare exactly
    ASSERT_EQ(Add(u"D", 7, 6), 1);
    EXPECT_EQ(store.Delete(u"C", 0), 1);
    EXPECT_EQ(Layout(store), (std::vector<Slot>{{u"D", 7, 6}, {u"B", 0, 2}}));
}

// Long runs of adds, replacements and deletes on a small store, held
// against the store's rules written out plainly: one slot per (user,
// finger) replaced in place, new ones appended while there is room, a
// delete walking down from the top and filling each hole with the last
// slot.
TEST_F(TemplateStoreTest, EveryRunOfChangesKeepsTheLayoutTheRulesGive) {
    constexpr int kLimit = 24;
    store.Allocate(kLimit, OldStoredTemplateSize);
    std::vector<Slot> model;
    auto modelFind = [&](const CString& id, int finger) {
        for (size_t i = 0; i < model.size(); ++i)
            if (model[i].id == id && model[i].finger == finger) return static_cast<int>(i);
        return -1;
    };
    std::mt19937 random(19);
    const CString ids[] = {u"1", u"2", u"3", u"10", u"123456789012", u"Ann", u"ann"};
    const int fingers[] = {0, 1, 9, -2, 65536};
    for (int step = 0; step < 5000; ++step) {
        const CString& id = ids[random() % std::size(ids)];
        const int finger = fingers[random() % std::size(fingers)];
        const BYTE mark = static_cast<BYTE>(step);
        if (random() % 3) {
            int i = modelFind(id, finger);
            const bool stored = i >= 0 || model.size() < kLimit;
            if (i < 0 && stored) {
                i = static_cast<int>(model.size());
                model.push_back({id, finger, mark});
            }
            if (stored) model[i].mark = mark;
            ASSERT_EQ(Add(id, finger, mark), stored ? 1 : 0) << "step " << step;
        } else {
            const int which = random() % 2 ? -1 : finger;
            for (int i = static_cast<int>(model.size()) - 1; i >= 0; --i) {
                if (model[i].id != id || (which != -1 && model[i].finger != which)) continue;
                model[i] = model.back();
                model.pop_back();
            }
            ASSERT_EQ(store.Delete(id, which), 1);
        }
        ASSERT_EQ(Layout(store), model) << "step " << step;
        for (const CString& anyId : ids)
            for (int anyFinger : fingers) {
                const int i = modelFind(anyId, anyFinger);
                ASSERT_EQ(store.FindSlot(anyId, anyFinger),
                          i < 0 ? nullptr : store.GetTemplates() + i * store.GetTemplateSize())
                    << "step " << step;
            }
    }
}

TEST_F(TemplateStoreTest, OneSlotPerFingerAndALimit) {
    ASSERT_EQ(Add(u"5", 2, 1), 1);
    ASSERT_EQ(Add(u"5", 2, 9), 1);
    EXPECT_EQ(store.GetCount(), 1);
    EXPECT_EQ(store.FindSlot(u"5", 2)[0], 9);
    const std::vector<BYTE> odd = Blob(1, 300);
    EXPECT_EQ(store.Add(odd.data(), u"6", 0, FALSE, 300), 0);
    // A refused template leaves no trace a later look-up could find.
    EXPECT_EQ(store.FindSlot(u"6", 0), nullptr);

    store.Allocate(3, OldStoredTemplateSize);
    EXPECT_EQ(store.GetCount(), 0);
    ASSERT_EQ(Add(u"1", 0, 1), 1);
    ASSERT_EQ(Add(u"2", 0, 1), 1);
    ASSERT_EQ(Add(u"3", 0, 1), 1);
    EXPECT_EQ(Add(u"4", 0, 1), 0);
    EXPECT_EQ(store.GetCount(), 3);
    EXPECT_EQ(store.FindSlot(u"4", 0), nullptr);
    // Replacing needs no room.
    EXPECT_EQ(Add(u"3", 0, 2), 1);
}

TEST_F(TemplateStoreTest, NewSensorsMatchOnLibraryRecords) {
    g_DataStoreServices.SMCVersion = [] { return 8; };
    // The stand-in conversion keeps the pair in front of the record and
    // refuses a blob that starts with 0xFF.
    g_DataStoreServices.VeltoTempToFPRECORD = [](const BYTE* pair, BYTE* record) {
        std::memcpy(record, pair, StoredTemplateSize);
        record[MatchRecordSize - 1] = 0x5A;
        return pair[0] == 0xFF ? 0 : 1;
    };
    store.Reset();
    EXPECT_EQ(store.GetTemplateSize(), MatchRecordSize);
    std::vector<BYTE> old(OldStoredTemplateSize, 0);
    for (int i = 0; i < OldStoredTemplateSize; ++i) old[i] = static_cast<BYTE>(i);
    ASSERT_EQ(store.Add(old.data(), u"1", 0, FALSE, OldStoredTemplateSize), 1);
    const BYTE* slot = store.FindSlot(u"1", 0);
    // The one press of an old blob stands for both.
    EXPECT_EQ(slot[0], 0);
    EXPECT_EQ(slot[168], 168);
    EXPECT_EQ(slot[169], 0);
    EXPECT_EQ(slot[337], 168);
    EXPECT_EQ(slot[MatchRecordSize - 1], 0x5A);
    // A pair the library refuses is stored nowhere: a new finger's free slot
    // stays empty, a stored finger keeps its template.
    EXPECT_EQ(Add(u"2", 0, 0xFF), 0);
    EXPECT_EQ(store.GetCount(), 1);
    const BYTE* freeSlot = store.GetTemplates() + MatchRecordSize;
    EXPECT_TRUE(std::all_of(freeSlot, freeSlot + MatchRecordSize, [](BYTE b) { return b == 0; }));
    EXPECT_EQ(store.FindSlot(u"2", 0), nullptr);
    EXPECT_EQ(Add(u"1", 0, 0xFF), 0);
    EXPECT_EQ(store.FindSlot(u"1", 0)[168], 168);
    EXPECT_EQ(store.FindSlot(u"1", 0)[MatchRecordSize - 1], 0x5A);

    g_DataStoreServices.SMCVersion = [] { return 7; };
    store.Reset();
    EXPECT_EQ(store.GetTemplateSize(), OldStoredTemplateSize);
}

TEST_F(TemplateStoreTest, UpdateAfterMatchOnlyOnTheMatchedTemplate) {
    g_DataStoreServices.SMCVersion = [] { return 8; };
    g_DataStoreServices.VeltoTempToFPRECORD = [](const BYTE* pair, BYTE* record) {
        std::memcpy(record, pair, StoredTemplateSize);
        return 1;
    };
    g_DataStoreServices.VeltoAutoUpFP = [](const BYTE* live, const BYTE*, BYTE* merged, BYTE* storable) {
        std::memset(merged, live[0], MatchRecordSize);
        std::memset(storable, live[0], StoredTemplateSize);
        return 1;
    };
    store.Reset();
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO FPinfo VALUES (4, '8', x'00')"));
    ASSERT_EQ(Add(u"8", 4, 1), 1);
    ASSERT_EQ(Add(u"9", 0, 2), 1);
    std::vector<BYTE> result(MatchResultSize);
    const BYTE live[PressTemplateSize] = {0x77};
    // Slot 0 no longer holds user 9's finger.
    EXPECT_EQ(store.UpdateAfterMatch(0, live, result.data(), u"9", 0, db), 0);
    EXPECT_EQ(store.FindSlot(u"8", 4)[0], 1);
    ASSERT_EQ(store.UpdateAfterMatch(0, live, result.data(), u"8", 4, db), 1);
    EXPECT_EQ(store.FindSlot(u"8", 4)[0], 0x77);
    EXPECT_EQ(Int(u"select length(FPTemplate) from FPinfo"), StoredTemplateSize);
    EXPECT_EQ(Int(u"select unicode(substr(hex(FPTemplate), 1, 1)) from FPinfo"), '7');
    EXPECT_EQ(result[0] | result[1] | result[2] | result[3], 1);
}

TEST_F(TemplateStoreTest, FillTakesTheTemplatesOfExistingUsers) {
    ASSERT_TRUE(db.DirectStatement(u"INSERT INTO Userinfo(userid) VALUES ('1'), ('2')"));
    StatementPtr insert(db.Statement(u"INSERT INTO FPinfo VALUES (?, ?, ?)"));
    const std::vector<BYTE> good = Blob(3), old = Blob(4, OldStoredTemplateSize), bad = Blob(5, 100);
    auto row = [&](int finger, LPCWSTR id, const std::vector<BYTE>& blob) {
        insert->Bind(0, finger);
        insert->Bind(1, id);
        insert->BindBlob(2, blob.data(), static_cast<int>(blob.size()));
        ASSERT_TRUE(insert->Execute());
    };
    row(0, u"1", good);
    row(1, u"1", bad);
    row(0, u"2", old);
    row(0, u"3", good);  // no such user
    EXPECT_EQ(FillTemplateStore(store, db), 2);
    EXPECT_NE(store.FindSlot(u"1", 0), nullptr);
    EXPECT_NE(store.FindSlot(u"2", 0), nullptr);
    EXPECT_EQ(store.FindSlot(u"3", 0), nullptr);
    EXPECT_EQ(Boxes(), std::vector<CString>({u"database template error!"}));
}

// The fill converts rows on several threads while it reads more; what it
// stores is what adding the rows one by one, in the order it reads them,
// stores: more rows than the store takes, fingers given again, pairs the
// library refuses, old one-press blobs and a blob of no size it takes.
TEST_F(TemplateStoreTest, TheFillStoresWhatAddingItsRowsOneByOneStores) {
    g_DataStoreServices.SMCVersion = [] { return 8; };
    // Every byte of the record follows from the pair's bytes.
    g_DataStoreServices.VeltoTempToFPRECORD = [](const BYTE* pair, BYTE* record) {
        for (int k = 0; k < MatchRecordSize; ++k) record[k] = static_cast<BYTE>(pair[k % StoredTemplateSize] ^ (k * 7));
        return pair[0] == 0xFF ? 0 : 1;
    };
    constexpr int kUsers = TemplateLimit / 2 + 100;
    ASSERT_TRUE(db.DirectStatement(u"BEGIN"));
    StatementPtr user(db.Statement(u"INSERT INTO Userinfo(userid) VALUES (?)"));
    StatementPtr insert(db.Statement(u"INSERT INTO FPinfo VALUES (?, ?, ?)"));
    std::mt19937 random(7);
    int row = 0;
    auto add = [&](int userNumber, int finger) {
        ++row;
        CString id;
        id.Format(u"%d", userNumber);
        const int size = row == 1234 ? 100 : row % 31 == 0 ? OldStoredTemplateSize : StoredTemplateSize;
        std::vector<BYTE> blob(size);
        for (BYTE& b : blob) b = static_cast<BYTE>(random());
        if (row % 53 == 0) blob[0] = 0xFF;
        insert->Bind(0, finger);
        insert->Bind(1, id.GetString());
        insert->BindBlob(2, blob.data(), size);
        ASSERT_TRUE(insert->Execute());
    };
    for (int u = 1; u <= kUsers; ++u) {
        CString id;
        id.Format(u"%d", u);
        user->Bind(0, id.GetString());
        ASSERT_TRUE(user->Execute());
        add(u, 0);
        add(u, 1);
        if (u % 97 == 0) add(u / 2, 0);
    }
    add(kUsers + 1, 0);  // no such user
    ASSERT_TRUE(db.DirectStatement(u"COMMIT"));

    EXPECT_EQ(FillTemplateStore(store, db), TemplateLimit);
    EXPECT_EQ(Boxes(), std::vector<CString>({u"database template error!"}));
    CFPTemplateStore oneByOne;
    oneByOne.Reset();
    StatementPtr rows(db.Statement(u"SELECT fpinfo.rowid,FPTemplate,fpinfo.userid,fpinfo.fingerNo FROM userinfo ,fpinfo "
                                   u"where Userinfo.Userid  = fpinfo.Userid"));
    while (rows->NextRow()) {
        int bytes = 0;
        const BYTE* blob = static_cast<const BYTE*>(rows->ValueBlob(1, bytes));
        oneByOne.Add(blob, rows->ValueString(2), rows->ValueInt(3), FALSE, bytes);
    }
    ASSERT_EQ(store.GetCount(), oneByOne.GetCount());
    for (int i = 0; i < store.GetCount(); ++i) {
        CString id, expectedId;
        int finger = -1, expectedFinger = -1;
        ASSERT_TRUE(store.GetEntry(i, id, finger));
        ASSERT_TRUE(oneByOne.GetEntry(i, expectedId, expectedFinger));
        EXPECT_EQ(id, expectedId) << "slot " << i;
        EXPECT_EQ(finger, expectedFinger) << "slot " << i;
        const BYTE* slot = store.GetTemplates() + static_cast<size_t>(i) * MatchRecordSize;
        const BYTE* expected = oneByOne.GetTemplates() + static_cast<size_t>(i) * MatchRecordSize;
        EXPECT_TRUE(std::equal(slot, slot + MatchRecordSize, expected)) << "slot " << i;
    }
    ExpectDense();
}

TEST_F(TemplateStoreTest, WritersOnTwoThreadsKeepItDense) {
    auto writer = [&](int base) {
        for (int round = 0; round < 200; ++round) {
            CString id;
            id.Format(u"%d", base + round % 20);
            Add(id, round % 10, static_cast<BYTE>(round));
            if (round % 3 == 0) store.Delete(id, -1);
        }
    };
    std::thread a(writer, 1000), b(writer, 2000);
    a.join();
    b.join();
    ExpectDense();
}

}  // namespace
