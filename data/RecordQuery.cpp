// Counting and paging the all-records window by time range, department and
// user, for the record query pages.
#include <algorithm>
#include <vector>

#include "data/DataLocks.h"
#include "data/RecordStore.h"

namespace {

// The records of one rowid range that a query matches. The count and the
// page go by the same conditions, so the count is the number of rows the
// pages show: the time range, a status that has a name, and, when asked,
// the user and the user's department. They read Checkinout alone (through
// its indexes), which keeps a count or a deep page from joining every
// record of the ring.
// A "+" before the time and the status keeps their indexes out of a search
// that goes in rowid order or by the user's index.
const char16_t* const kMatch =
    u"%sCheckinout.CheckTime >=?1 And %sCheckinout.CheckTime<=?2 And %sCheckinout.CheckType in (Select ID from "
    u"StatusBase) And %s%s%s";
const char16_t* const kUserClause = u" And Checkinout.Userid=?3";
const char16_t* const kDeptClause = u" And Checkinout.Userid in (Select userid from UserInfo where Deptid=%d)";

// The records of every user that match, counted by what they are not: a
// count of matches steps through each matching record, while the table's
// size, the records outside the time range and those whose status has no
// name are found by the indexes alone. The statuses without a name are
// the distinct stored ones that StatusBase lacks, found by leaping
// through the status index. An empty time range matches nothing;
// otherwise the three ways of missing it do not overlap. What lies outside
// the window is subtracted after.
const char16_t* const kAllUsersMatched =
    u"WITH RECURSIVE Types(t) AS (Select (Select min(CheckType) from Checkinout) UNION ALL "
    u"Select (Select min(CheckType) from Checkinout where CheckType > t) from Types where t is not null) "
    u"Select CASE WHEN ?1 <= ?2 THEN (Select Count(*) from Checkinout) "
    u"- (Select Count(*) from Checkinout WHERE CheckTime is null) "
    u"- (Select Count(*) from Checkinout WHERE CheckTime <?1) "
    u"- (Select Count(*) from Checkinout WHERE CheckTime >?2) "
    u"- (Select Count(*) from Checkinout WHERE CheckTime >=?1 And CheckTime <=?2 And (CheckType is null Or "
    u"CheckType in (Select t from Types where t is not null And (t in (Select ID from StatusBase)) is not 1)))"
    u"%s ELSE 0 END";

// The records in and out of the time range, up to a number (%d), through
// the time's index.
const char16_t* const kInTimeRange =
    u"Select Count(*) from (Select 1 from Checkinout WHERE CheckTime >=?1 And CheckTime <=?2 LIMIT %d)";
const char16_t* const kOutOfTimeRange =
    u"Select Count(*) from (Select 1 from Checkinout WHERE CheckTime is null Or CheckTime <?1 Or CheckTime >?2 "
    u"LIMIT %d)";

// The page's rows, in the ring's order (oldest first, across its wrap),
// with the user's name and the status name.
const char16_t* const kPage =
    u"Select UserInfo.name,Checkinout.*,StatusBase.StatuName from Checkinout left join UserInfo ON "
    u"Checkinout.userid= UserInfo.userid ,StatusBase WHERE StatusBase.ID = Checkinout.CheckType And "
    u"Checkinout.rowid in (%s) ORDER BY Checkinout.rowid<%u, Checkinout.rowid";
// The rowids of one part, in ring order or backwards from the newest.
const char16_t* const kPartRowids = u"Select * from (Select rowid from Checkinout WHERE %s ORDER BY rowid%s)";

// Columns of a page row: name, the Checkinout columns, the status name.
enum PageColumn { PageName, PageUserid, PageCheckTime, PageCheckType, PageIsDownLoad, PagePassType, PageStatus };

bool HasText(LPCWSTR text) { return text && *text; }

CString RowidRange(unsigned begin, unsigned end) {
    CString range;
    range.Format(u"Checkinout.rowid>=%u And Checkinout.rowid <%u", begin, end);
    return range;
}

}  // namespace

std::vector<CRecordStore::Rowids> CRecordStore::WindowParts() const {
    // The window from its begin; past the ring's end it goes on at the
    // ring's start.
    const unsigned end = AllBegin + AllRecordcount;
    const unsigned ringEnd = m_capacity + Raw;
    std::vector<Rowids> parts{{AllBegin, std::min(end, ringEnd)}};
    if (end > ringEnd) parts.push_back({Raw, Raw + (end - ringEnd)});
    return parts;
}

std::vector<CString> CRecordStore::OutsideWindow() const {
    std::vector<Rowids> parts = WindowParts();
    std::sort(parts.begin(), parts.end(), [](const Rowids& a, const Rowids& b) { return a.begin < b.begin; });
    std::vector<CString> outside;
    CString below;
    below.Format(u"Checkinout.rowid <%u", parts.front().begin);
    outside.push_back(below);
    for (size_t i = 1; i < parts.size(); ++i)
        if (parts[i - 1].end < parts[i].begin) outside.push_back(RowidRange(parts[i - 1].end, parts[i].begin));
    CString above;
    above.Format(u"Checkinout.rowid>=%u", parts.back().end);
    outside.push_back(above);
    return outside;
}

std::vector<CString> CRecordStore::Matched(const std::vector<CString>& rowids, int dept, LPCWSTR userId,
                                           bool inRowidOrder) const {
    CString deptClause;
    if (dept != 65535) deptClause.Format(kDeptClause, dept);
    const CString user(HasText(userId) ? kUserClause : u"");
    // A user or a department narrows the search most through the user's
    // index; only a count over every user goes by status and time.
    const char16_t* const plus = inRowidOrder || IsByUser(dept, userId) ? u"+" : u"";
    std::vector<CString> parts;
    for (const CString& range : rowids) {
        parts.emplace_back();
        parts.back().Format(kMatch, plus, plus, plus, range.GetString(), user.GetString(), deptClause.GetString());
    }
    return parts;
}

std::vector<CString> CRecordStore::MatchedParts(int dept, LPCWSTR userId, bool inRowidOrder) const {
    std::vector<CString> ranges;
    for (const Rowids& part : WindowParts()) ranges.push_back(RowidRange(part.begin, part.end));
    return Matched(ranges, dept, userId, inRowidOrder);
}

bool CRecordStore::IsByUser(int dept, LPCWSTR userId) { return dept != 65535 || HasText(userId); }

bool CRecordStore::FewOutOfTimeRange(LPCWSTR from, LPCWSTR to) {
    // Both sides are counted a growing number of records at a time, so
    // that finding the smaller one costs about what counting it does.
    for (int most = 1024;; most *= 4) {
        CString sql;
        sql.Format(kInTimeRange, most);
        if (QueryInt(m_db, sql, {from, to}) < most) return false;
        sql.Format(kOutOfTimeRange, most);
        if (QueryInt(m_db, sql, {from, to}) < most) return true;
    }
}

bool CRecordStore::CountsByExclusion(int dept, LPCWSTR userId, LPCWSTR from, LPCWSTR to) {
    // Counting what does not match pays when most of the ring is in the
    // window and in the time range; otherwise the matches are fewer and
    // quicker counted one by one.
    return !IsByUser(dept, userId) && AllRecordcount > m_capacity / 2 && FewOutOfTimeRange(from, to);
}

StatementPtr CRecordStore::PrepareMatched(const CString& sql, LPCWSTR userId, LPCWSTR from, LPCWSTR to) {
    if (HasText(userId)) return PrepareBound(m_db, sql, {from, to, userId});
    return PrepareBound(m_db, sql, {from, to});
}

int CRecordStore::Count(int dept, LPCWSTR userId, LPCWSTR from, LPCWSTR to) {
    CString sql;
    if (CountsByExclusion(dept, userId, from, to)) {
        CString outside;
        for (const CString& part : Matched(OutsideWindow(), dept, userId, true))
            outside += u" - (Select Count(*) from Checkinout WHERE " + part + u")";
        sql.Format(kAllUsersMatched, outside.GetString());
    } else {
        sql = u"Select 0";
        for (const CString& part : MatchedParts(dept, userId, false))
            sql += u"+(Select Count(*) from Checkinout WHERE " + part + u")";
    }
    StatementPtr query = PrepareMatched(sql, userId, from, to);
    return query->NextRow() ? query->ValueInt(0) : 0;
}

int CRecordStore::CountRecords(int dept, LPCWSTR userId, int& count, LPCWSTR from, LPCWSTR to) {
    CDataStoreLock lock(g_csRecordStore);
    count = Count(dept, userId, from, to);
    return 0;
}

int CRecordStore::QueryRecordPage(int offset, int rows, int dept, LPCWSTR userId, int& n, LPCWSTR from, LPCWSTR to) {
    CDataStoreLock lock(g_csRecordStore);
    n = 0;
    rows = std::clamp(rows, 0, static_cast<int>(RecordPageRows));
    std::vector<CString> parts = MatchedParts(dept, userId, true);
    // A search in ring order steps through every record before the page;
    // a page in the newer half is reached sooner from the newest record
    // back, once the count says how far that is.
    bool backwards = false;
    int take = rows;
    if (offset > 0 && CountsByExclusion(dept, userId, from, to)) {
        const int count = Count(dept, userId, from, to);
        if (offset > count / 2) {
            backwards = true;
            const int end = std::min(offset + rows, std::max(count, offset));
            take = end - offset;
            offset = count - end;
            std::reverse(parts.begin(), parts.end());
        }
    }
    CString rowids;
    for (const CString& part : parts) {
        if (!rowids.IsEmpty()) rowids += u" UNION ALL ";
        CString partRowids;
        partRowids.Format(kPartRowids, part.GetString(), backwards ? u" DESC" : u"");
        rowids += partRowids;
    }
    CString limit;
    limit.Format(u" LIMIT %d,%d", offset, take);
    CString sql;
    sql.Format(kPage, (rowids + limit).GetString(), AllBegin);
    StatementPtr query = PrepareMatched(sql, userId, from, to);
    while (n < rows && query->NextRow()) {
        CString* const page = m_page[n++];
        page[0] = query->ValueString(PageUserid);
        page[1] = query->ValueString(PageName);
        page[2] = query->ValueString(PageCheckTime);
        page[3] = query->ValueString(PageStatus);
        page[4] = query->ValueString(PageIsDownLoad);
    }
    return 0;
}
