#include "data/RecordStore.h"

#include <algorithm>

#include "data/DataLocks.h"
#include "data/DbTransaction.h"
#include "data/PackedRecords.h"
#include "platform/base/numparse.h"

namespace {

const char16_t* const kWriteCounters =
    u"update BasePara set AllRecordcount='%d',NewRecordcount='%d',\t\t\t\t\t  AllRecordBeginRowid='%d',NewRecordBeginRowid = '%d'";

// Moves a reader's cursor back when its window's begin moves on by `moved`,
// so that it keeps pointing at the same record.
unsigned Follow(unsigned cursor, unsigned moved) { return cursor > moved ? cursor - moved : 0; }

}  // namespace

CRecordStore::CRecordStore(CDbSqlite& db, unsigned capacity) : m_db(db), m_capacity(capacity) {
    EnsureQueryIndexes();
    LoadCounters();
}

void CRecordStore::EnsureQueryIndexes() {
    // A file from before these indexes (or restored from one) gets them
    // once; the factory schema has them.
    m_db.DirectStatement(u"CREATE INDEX IF NOT EXISTS CheckinoutUserid ON Checkinout (Userid)");
    m_db.DirectStatement(u"CREATE INDEX IF NOT EXISTS CheckinoutTypeTime ON Checkinout (CheckType, CheckTime)");
}

void CRecordStore::LoadCounters() {
    CDataStoreLock lock(g_csRecordStore);
    AllRecordcount = NewRecordcount = 0;
    AllBegin = Raw = 1;
    allCursor = newCursor = 0;
    StatementPtr row(m_db.Statement(u"SELECT * FROM Basepara"));
    if (row->NextRow()) {
        AllRecordcount = std::min(static_cast<unsigned>(row->ValueInt(2)), m_capacity);
        NewRecordcount = std::min(static_cast<unsigned>(row->ValueInt(3)), AllRecordcount);
        AllBegin = static_cast<unsigned>(row->ValueInt(5));
    }
    // A begin outside the ring (a damaged or foreign file) starts it afresh;
    // the new window always ends where the all window does.
    if (AllBegin < Raw || AllBegin >= Raw + m_capacity) {
        AllRecordcount = NewRecordcount = 0;
        AllBegin = Raw;
    }
    NewBegin = Slot(AllBegin, AllRecordcount - NewRecordcount);
}

unsigned CRecordStore::GetAllRecordcount() const {
    CDataStoreLock lock(g_csRecordStore);
    return AllRecordcount;
}

unsigned CRecordStore::GetNewRecordcount() const {
    CDataStoreLock lock(g_csRecordStore);
    return NewRecordcount;
}

unsigned CRecordStore::GetAllRecordBeginRowid() const {
    CDataStoreLock lock(g_csRecordStore);
    return AllBegin;
}

unsigned CRecordStore::GetNewRecordBeginRowid() const {
    CDataStoreLock lock(g_csRecordStore);
    return NewBegin;
}

unsigned CRecordStore::GetRawRecordBeginRowid() const {
    CDataStoreLock lock(g_csRecordStore);
    return Raw;
}

unsigned CRecordStore::HeadSlot() const {
    CDataStoreLock lock(g_csRecordStore);
    return Slot(AllBegin, AllRecordcount);
}

int CRecordStore::Reset() {
    CDataStoreLock lock(g_csRecordStore);
    if (!m_db.DirectStatement(u"update BasePara set AllRecordcount='0',NewRecordcount='0',RawRecordBeginRowid='1',"
                              u"AllRecordBeginRowid='1',NewRecordBeginRowid='1'"))
        return 1;
    AllRecordcount = NewRecordcount = 0;
    Raw = AllBegin = NewBegin = 1;
    allCursor = newCursor = 0;
    return 0;
}

bool CRecordStore::WriteCounters(const Counters& next) {
    CString sql;
    sql.Format(kWriteCounters, next.allCount, next.newCount, next.allBegin, next.newBegin);
    return m_db.DirectStatement(sql);
}

void CRecordStore::Apply(const Counters& next) {
    allCursor = Follow(allCursor, (next.allBegin + m_capacity - AllBegin) % m_capacity);
    newCursor = Follow(newCursor, (next.newBegin + m_capacity - NewBegin) % m_capacity);
    AllRecordcount = next.allCount;
    NewRecordcount = next.newCount;
    AllBegin = next.allBegin;
    NewBegin = next.newBegin;
}

bool CRecordStore::Commit(const Counters& next) {
    if (!WriteCounters(next)) return false;
    Apply(next);
    return true;
}

int CRecordStore::AddRecord(CheckinoutRecord record) {
    CDataStoreLock lock(g_csRecordStore);
    const unsigned slot = HeadSlot();
    CString sql;
    sql.Format(u"select rowid from checkinout where rowid ='%d'", slot);
    CDbTransaction transaction(m_db);
    if (!transaction.IsOpen()) return 2;
    const bool exists = QueryHasRow(m_db, sql);
    if (exists)
        sql.Format(u"Update Checkinout set Userid =?,CheckTime = ?,CheckType = '%d',IsDownLoad='%d',"
                   u"WorkNumberAndPassType ='%d' where rowid ='%d'",
                   record.CheckType, record.IsDownLoad, record.WorkNumberAndPassType, slot);
    else
        // The slot is named: SQLite's next rowid is the slot only while the
        // ring fills in order.
        sql.Format(u"INSERT INTO Checkinout(rowid,Userid,CheckTime,CheckType,IsDownLoad,WorkNumberAndPassType) "
                   u"VALUES (%d,?,?,'%d','%d','%d')",
                   slot, record.CheckType, record.IsDownLoad, record.WorkNumberAndPassType);
    if (!ExecuteBound(m_db, sql, {record.Userid, record.CheckTime})) return 2;

    // A full window loses its oldest record to the one just written.
    Counters next = Current();
    if (next.allCount < m_capacity)
        ++next.allCount;
    else
        next.allBegin = Slot(next.allBegin, 1);
    if (next.newCount < m_capacity)
        ++next.newCount;
    else
        next.newBegin = Slot(next.newBegin, 1);
    if (!WriteCounters(next) || !transaction.Commit()) return 3;
    Apply(next);
    return 0;
}

int CRecordStore::OverwriteHead(CheckinoutRecord record) {
    CDataStoreLock lock(g_csRecordStore);
    const unsigned slot = HeadSlot();
    CString sql;
    sql.Format(u"select rowid from checkinout where rowid ='%d'", slot);
    if (!QueryHasRow(m_db, sql)) return 4;
    sql.Format(u"Update Checkinout set Userid =?,CheckTime = ?,CheckType = '%d',IsDownLoad='%d',"
               u"WorkNumberAndPassType ='%d' where rowid ='%d'",
               record.CheckType, record.IsDownLoad, record.WorkNumberAndPassType, slot);
    return ExecuteBound(m_db, sql, {record.Userid, record.CheckTime}) ? 0 : 8;
}

int CRecordStore::DeleteOldest(unsigned n) {
    CDataStoreLock lock(g_csRecordStore);
    n = std::min(n, AllRecordcount);
    Counters next = Current();
    next.allBegin = Slot(AllBegin, n);
    next.allCount -= n;
    if (next.newCount > next.allCount) {
        next.newBegin = next.allBegin;
        next.newCount = next.allCount;
    }
    return Commit(next) ? 0 : 3;
}

int CRecordStore::ClearNewRecords() {
    CDataStoreLock lock(g_csRecordStore);
    Counters next = Current();
    next.newCount = 0;
    next.newBegin = HeadSlot();
    return Commit(next) ? 0 : 3;
}

int CRecordStore::ConsumeNewRecords(unsigned n) {
    CDataStoreLock lock(g_csRecordStore);
    n = std::min(n, NewRecordcount);
    Counters next = Current();
    next.newCount -= n;
    next.newBegin = Slot(NewBegin, n);
    return Commit(next) ? 0 : 3;
}

int CRecordStore::ReadWindow(unsigned begin, unsigned windowCount, unsigned& cursor, BYTE* buffer, int count, int& n) {
    n = 0;
    // A slot of the window without its row (a copied file with a row gone)
    // is passed over: the batch reads on, so that a short batch means the
    // window's end and no reader stops before the records that follow.
    while (n < count && cursor < windowCount) {
        const unsigned slots = std::min(windowCount - cursor, static_cast<unsigned>(count - n));
        int packed = 0;
        ReadRange(Slot(begin, cursor), static_cast<int>(slots), buffer + PackedCheckinoutSize * n, packed);
        n += packed;
        cursor += slots;
    }
    return 0;
}

int CRecordStore::ReadAllFirst(BYTE* buffer, int, int count, int& n) {
    CDataStoreLock lock(g_csRecordStore);
    allCursor = 0;
    return ReadWindow(AllBegin, AllRecordcount, allCursor, buffer, count, n);
}

int CRecordStore::ReadAllNext(BYTE* buffer, int count, int& n) {
    CDataStoreLock lock(g_csRecordStore);
    return ReadWindow(AllBegin, AllRecordcount, allCursor, buffer, count, n);
}

int CRecordStore::ReadNewFirst(BYTE* buffer, int count, int& n) {
    CDataStoreLock lock(g_csRecordStore);
    newCursor = 0;
    return ReadWindow(NewBegin, NewRecordcount, newCursor, buffer, count, n);
}

int CRecordStore::ReadNewNext(BYTE* buffer, int count, int& n) {
    CDataStoreLock lock(g_csRecordStore);
    return ReadWindow(NewBegin, NewRecordcount, newCursor, buffer, count, n);
}

void CRecordStore::PackRows(LPCWSTR format, unsigned from, unsigned to, BYTE* buffer, int& n) {
    CString sql;
    sql.Format(format, from, to);
    StatementPtr rows(m_db.Statement(sql));
    while (rows->NextRow()) PackCheckinout(*rows, buffer + PackedCheckinoutSize * n++);
}

int CRecordStore::ReadRange(unsigned start, int count, BYTE* buffer, int& n) {
    CDataStoreLock lock(g_csRecordStore);
    n = 0;
    if (start < Raw || start >= Raw + m_capacity || count <= 0) return 0;
    // Only the part of the range that holds stored records.
    const unsigned offset = (start + m_capacity - AllBegin) % m_capacity;
    if (offset >= AllRecordcount) return 0;
    const unsigned wanted = std::min(static_cast<unsigned>(count), AllRecordcount - offset);
    const unsigned remaining = m_capacity + Raw - start;
    if (remaining >= wanted) {
        PackRows(u"Select * from checkinout where rowid>='%d' and rowid <'%d'", start, start + wanted, buffer, n);
        return 0;
    }
    PackRows(u"Select * from checkinout where (rowid>='%d' and rowid <'%d')", start, m_capacity + Raw, buffer, n);
    PackRows(u"Select * from checkinout where (rowid>='%d' and rowid <='%d')", Raw, wanted - remaining, buffer, n);
    return 0;
}

void CRecordStore::ParseCheckTime(LPCWSTR text, int& year, int& month, int& day, int& hour, int& minute,
                                  int& second) {
    // Cut at "-", "-", " ", ":", ":"; each piece is a decimal number, so
    // unpadded fields are taken too.
    const CString whole(text);
    int* const fields[] = {&year, &month, &day, &hour, &minute, &second};
    const char16_t separators[] = {u'-', u'-', u' ', u':', u':'};
    int from = 0;
    for (int i = 0; i < 6; ++i) {
        const int to = i < 5 ? whole.Find(separators[i], from) : whole.GetLength();
        const int end = to < 0 ? whole.GetLength() : to;
        *fields[i] = _wtoi(whole.Mid(from, end - from));
        from = to < 0 ? whole.GetLength() : to + 1;
    }
}
