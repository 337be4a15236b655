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
    u"StatusBase) And Checkinout.rowid>=%u And Checkinout.rowid <%u%s%s";
const char16_t* const kUserClause = u" And Checkinout.Userid=?3";
const char16_t* const kDeptClause = u" And Checkinout.Userid in (Select userid from UserInfo where Deptid=%d)";

// The page's rows, in the ring's order (oldest first, across its wrap),
// with the user's name and the status name.
const char16_t* const kPage =
    u"Select UserInfo.name,Checkinout.*,StatusBase.StatuName from Checkinout left join UserInfo ON "
    u"Checkinout.userid= UserInfo.userid ,StatusBase WHERE StatusBase.ID = Checkinout.CheckType And "
    u"Checkinout.rowid in (%s) ORDER BY Checkinout.rowid<%u, Checkinout.rowid";
const char16_t* const kPartRowids = u"Select * from (Select rowid from Checkinout WHERE %s ORDER BY rowid)";

// Columns of a page row: name, the Checkinout columns, the status name.
enum PageColumn { PageName, PageUserid, PageCheckTime, PageCheckType, PageIsDownLoad, PagePassType, PageStatus };

bool HasText(LPCWSTR text) { return text && *text; }

}  // namespace

std::vector<CString> CRecordStore::MatchedParts(int dept, LPCWSTR userId, bool inRowidOrder) const {
    CString deptClause;
    if (dept != 65535) deptClause.Format(kDeptClause, dept);
    const CString user(HasText(userId) ? kUserClause : u"");
    // The window from its begin; past the ring's end it goes on at the
    // ring's start.
    const unsigned end = AllBegin + AllRecordcount;
    const unsigned ringEnd = m_capacity + Raw;
    // A user or a department narrows the search most through the user's
    // index; only a count over every user goes by status and time.
    const bool byUser = dept != 65535 || HasText(userId);
    const char16_t* const plus = inRowidOrder || byUser ? u"+" : u"";
    std::vector<CString> parts(1);
    parts[0].Format(kMatch, plus, plus, plus, AllBegin, std::min(end, ringEnd), user.GetString(),
                    deptClause.GetString());
    if (end > ringEnd) {
        parts.emplace_back();
        parts[1].Format(kMatch, plus, plus, plus, Raw, Raw + (end - ringEnd), user.GetString(), deptClause.GetString());
    }
    return parts;
}

StatementPtr CRecordStore::PrepareMatched(const CString& sql, LPCWSTR userId, LPCWSTR from, LPCWSTR to) {
    if (HasText(userId)) return PrepareBound(m_db, sql, {from, to, userId});
    return PrepareBound(m_db, sql, {from, to});
}

int CRecordStore::CountRecords(int dept, LPCWSTR userId, int& count, LPCWSTR from, LPCWSTR to) {
    CLockGuard lock(g_csRecordStore);
    CString sql(u"Select 0");
    for (const CString& part : MatchedParts(dept, userId, false)) sql += u"+(Select Count(*) from Checkinout WHERE " + part + u")";
    StatementPtr query = PrepareMatched(sql, userId, from, to);
    count = query->NextRow() ? query->ValueInt(0) : 0;
    return 0;
}

int CRecordStore::QueryRecordPage(int offset, int rows, int dept, LPCWSTR userId, int& n, LPCWSTR from, LPCWSTR to) {
    CLockGuard lock(g_csRecordStore);
    n = 0;
    rows = std::clamp(rows, 0, static_cast<int>(RecordPageRows));
    CString rowids;
    for (const CString& part : MatchedParts(dept, userId, true)) {
        if (!rowids.IsEmpty()) rowids += u" UNION ALL ";
        CString partRowids;
        partRowids.Format(kPartRowids, part.GetString());
        rowids += partRowids;
    }
    CString limit;
    limit.Format(u" LIMIT %d,%d", offset, rows);
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
