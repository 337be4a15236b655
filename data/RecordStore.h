// The attendance records: table Checkinout used as a ring whose rowid is the
// slot (Raw .. Raw + capacity - 1). Two windows end at the write head: all
// stored records, and the newest part the management software has not
// collected. Their counters live in BasePara and are written with every
// change, in the same transaction as the record.
#pragma once

#include <vector>

#include "data/DbSqlite.h"
#include "data/Records.h"
#include "data/SqlHelpers.h"

enum : unsigned { RecordRingCapacity = 100000 };
enum : int { RecordPageRows = 10, RecordPageTexts = 5 };

class CRecordStore {
public:
    // Takes the counters from BasePara.
    explicit CRecordStore(CDbSqlite& db, unsigned capacity = RecordRingCapacity);
    virtual ~CRecordStore() = default;

    // Takes the counters from BasePara again (the database file was
    // replaced, or its counters written by another hand); the read cursors
    // start over.
    void LoadCounters();
    // The indexes the record queries go by, made when the file lacks them.
    void EnsureQueryIndexes();

    // Both windows emptied; rows stay and are overwritten later. 0; 1 when
    // the counters could not be written (nothing changed then).
    int Reset();
    // 0; 2 when the record, 3 when the counters could not be written
    // (nothing changed then).
    int AddRecord(CheckinoutRecord record);
    // Rewrites the newest record. 0; 4 when there is none; 8 on failure.
    int OverwriteHead(CheckinoutRecord record);
    int DeleteOldest(unsigned n);
    int ClearNewRecords();
    int ConsumeNewRecords(unsigned n);

    // Batch readers over the windows: at most `count` records (the room of
    // the caller's buffer, in 14-byte records) and never past the window;
    // fewer only at the window's end. A slot without its row is passed over.
    int ReadAllFirst(BYTE* buffer, int unused, int count, int& n);
    int ReadAllNext(BYTE* buffer, int count, int& n);
    int ReadNewFirst(BYTE* buffer, int count, int& n);
    int ReadNewNext(BYTE* buffer, int count, int& n);
    // Packs the records of slots [start, start + count) that lie in the
    // all-records window, wrapping at the ring's end.
    int ReadRange(unsigned start, int count, BYTE* buffer, int& n);

    // Record queries by time range, department (65535: any) and user id
    // (empty: any), over the all-records window.
    int CountRecords(int dept, LPCWSTR userId, int& count, LPCWSTR from, LPCWSTR to);
    int QueryRecordPage(int offset, int rows, int dept, LPCWSTR userId, int& n, LPCWSTR from, LPCWSTR to);
    LPCWSTR PageText(int row, int text) const { return m_page[row][text]; }

    static void ParseCheckTime(LPCWSTR text, int& year, int& month, int& day, int& hour, int& minute, int& second);

    // The counters as they stand, for pages that show or count them.
    unsigned GetCapacity() const { return m_capacity; }
    unsigned GetAllRecordcount() const;
    unsigned GetNewRecordcount() const;
    unsigned GetAllRecordBeginRowid() const;
    unsigned GetNewRecordBeginRowid() const;
    unsigned GetRawRecordBeginRowid() const;
    // The slot the next record goes to.
    unsigned HeadSlot() const;

private:
    struct Counters {
        unsigned allCount, newCount, allBegin, newBegin;
    };

    unsigned Slot(unsigned base, unsigned k) const { return (base + k - Raw) % m_capacity + Raw; }
    Counters Current() const { return {AllRecordcount, NewRecordcount, AllBegin, NewBegin}; }
    // Writes the counters and, when written, takes them and moves the
    // cursors with the window begins.
    bool Commit(const Counters& next);
    bool WriteCounters(const Counters& next);
    void Apply(const Counters& next);
    int ReadWindow(unsigned begin, unsigned windowCount, unsigned& cursor, BYTE* buffer, int count, int& n);
    void PackRows(LPCWSTR sql, unsigned from, unsigned to, BYTE* buffer, int& n);
    // A rowid range [begin, end).
    struct Rowids {
        unsigned begin, end;
    };
    // The all-records window's rowid ranges (one, or two when it wraps),
    // in ring order, and the conditions of the rowids outside it.
    std::vector<Rowids> WindowParts() const;
    std::vector<CString> OutsideWindow() const;
    // The conditions of a record query over each of `rowids`;
    // `inRowidOrder` for a search that must go in rowid order (or by user).
    std::vector<CString> Matched(const std::vector<CString>& rowids, int dept, LPCWSTR userId,
                                 bool inRowidOrder) const;
    // The same over the window's ranges, in ring order.
    std::vector<CString> MatchedParts(int dept, LPCWSTR userId, bool inRowidOrder) const;
    static bool IsByUser(int dept, LPCWSTR userId);
    // Whether the count goes by what does not match (a count over every
    // user of a window that holds most of the ring, in a time range that
    // holds most of the records).
    bool CountsByExclusion(int dept, LPCWSTR userId, LPCWSTR from, LPCWSTR to);
    bool FewOutOfTimeRange(LPCWSTR from, LPCWSTR to);
    int Count(int dept, LPCWSTR userId, LPCWSTR from, LPCWSTR to);
    // A statement over those conditions with the time range and the user
    // bound.
    StatementPtr PrepareMatched(const CString& sql, LPCWSTR userId, LPCWSTR from, LPCWSTR to);

    CDbSqlite& m_db;
    unsigned m_capacity;
    CString m_page[RecordPageRows][RecordPageTexts];
    unsigned AllRecordcount = 0;
    unsigned NewRecordcount = 0;
    unsigned allCursor = 0;
    unsigned newCursor = 0;
    unsigned Raw = 1;
    unsigned NewBegin = 1;
    unsigned AllBegin = 1;
};
