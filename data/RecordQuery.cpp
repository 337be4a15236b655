// Counting and paging the all-records window by time range, department and
// user, for the record query pages.
#include <algorithm>

#include "data/DataLocks.h"
#include "data/RecordStore.h"

namespace {

// The count goes through the same tables and conditions as the pages, so
// that it counts exactly the rows the pages can show.
const char16_t* const kCountUnwrapped =
    u"Select Count(*) from Checkinout left join UserInfo ON Checkinout.userid= UserInfo.userid ,StatusBase WHERE   "
    u"(Checkinout.CheckTime >=? And Checkinout.CheckTime<=?) And StatusBase.ID = Checkinout.CheckType And "
    u"Checkinout.rowid>='%d' And Checkinout.rowid <'%d' %s %s";
const char16_t* const kCountWrapped =
    u"Select Count(*) from Checkinout left join UserInfo ON Checkinout.userid= UserInfo.userid ,StatusBase WHERE   "
    u"(Checkinout.CheckTime >=? And Checkinout.CheckTime<=?) And StatusBase.ID = Checkinout.CheckType And "
    u"((Checkinout.rowid>='%d' And Checkinout.rowid <'%d') or (Checkinout.rowid>='%d'And Checkinout.rowid <'%d')) "
    u"%s %s";
const char16_t* const kPageUnwrapped =
    u" Select UserInfo.name,Checkinout.*,StatusBase.StatuName   from Checkinout left join UserInfo ON "
    u"Checkinout.userid= UserInfo.userid ,StatusBase WHERE   (Checkinout.CheckTime >=? And "
    u"Checkinout.CheckTime<=?) And StatusBase.ID = Checkinout.CheckType And Checkinout.rowid>='%d' And "
    u"Checkinout.rowid <'%d' %s %s LIMIT %d,%d";
const char16_t* const kPageWrapped =
    u"Select UserInfo.name,Checkinout.*,StatusBase.StatuName   from Checkinout left join UserInfo ON "
    u"Checkinout.userid= UserInfo.userid ,StatusBase WHERE   (Checkinout.CheckTime >=? And "
    u"Checkinout.CheckTime<=?) And StatusBase.ID = Checkinout.CheckType And ((Checkinout.rowid>='%d' And "
    u"Checkinout.rowid <'%d') or (Checkinout.rowid>='%d'And Checkinout.rowid <'%d')) %s %s LIMIT %d,%d";

const char16_t* const kUserClause = u" and ( checkinout.userID=?) ";

// Columns of a page row: name, the Checkinout columns, the status name.
enum PageColumn { PageName, PageUserid, PageCheckTime, PageCheckType, PageIsDownLoad, PagePassType, PageStatus };

bool HasText(LPCWSTR text) { return text && *text; }

}  // namespace

StatementPtr CRecordStore::PrepareQuery(LPCWSTR unwrapped, LPCWSTR wrapped, int dept, LPCWSTR userId, LPCWSTR from,
                                        LPCWSTR to, int offset, int rows) {
    CString deptClause(u" ");
    if (dept != 65535) deptClause.Format(u" and ( UserInfo.Deptid=%d) ", dept);
    const CString user(HasText(userId) ? kUserClause : u" ");
    CString sql;
    if (AllBegin + AllRecordcount <= m_capacity + Raw) {
        sql.Format(unwrapped, AllBegin, AllBegin + AllRecordcount, user, deptClause, offset, rows);
    } else {
        const unsigned afterWrap = AllRecordcount - (m_capacity + Raw - AllBegin);
        sql.Format(wrapped, AllBegin, m_capacity + Raw, Raw, Raw + afterWrap, user, deptClause, offset, rows);
    }
    if (HasText(userId)) return PrepareBound(m_db, sql, {from, to, userId});
    return PrepareBound(m_db, sql, {from, to});
}

int CRecordStore::CountRecords(int dept, LPCWSTR userId, int& count, LPCWSTR from, LPCWSTR to) {
    CLockGuard lock(g_csRecordStore);
    StatementPtr query = PrepareQuery(kCountUnwrapped, kCountWrapped, dept, userId, from, to, 0, 0);
    count = query->NextRow() ? query->ValueInt(0) : 0;
    return 0;
}

int CRecordStore::QueryRecordPage(int offset, int rows, int dept, LPCWSTR userId, int& n, LPCWSTR from, LPCWSTR to) {
    CLockGuard lock(g_csRecordStore);
    n = 0;
    rows = std::clamp(rows, 0, static_cast<int>(RecordPageRows));
    StatementPtr query = PrepareQuery(kPageUnwrapped, kPageWrapped, dept, userId, from, to, offset, rows);
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
