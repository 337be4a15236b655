#include "transfer/RecordTestDlg.h"

#include "core/ShowMessage.h"
#include "data/DataGlobals.h"
#include "data/PackedRecords.h"
#include "data/RecordStore.h"
#include "data/SqlHelpers.h"
#include "platform/base/COleDateTime.h"
#include "platform/ui/dialog.h"

namespace {

constexpr int kRecordsPerPass = 100;

const DialogTemplate kTemplate{CRecordTestDlg::IDD,
                               WS_POPUP | WS_BORDER,
                               0,
                               0,
                               320,
                               240,
                               u"",
                               {
                                   {CRecordTestDlg::IDC_ADD, u"BUTTON", u"add", WS_TABSTOP, 5, 5, 70, 24},
                                   {CRecordTestDlg::IDC_DELETE, u"BUTTON", u"Delete", WS_TABSTOP, 83, 5, 70, 24},
                                   {CRecordTestDlg::IDC_INIT, u"BUTTON", u"初始化", WS_TABSTOP, 161, 5, 70, 24},
                                   {CRecordTestDlg::IDC_ADD2, u"BUTTON", u"添加", WS_TABSTOP, 239, 5, 70, 24},
                                   {CRecordTestDlg::IDC_SET, u"BUTTON", u"设置", WS_TABSTOP, 5, 35, 70, 24},
                                   {CRecordTestDlg::IDC_READ_RECORDS, u"BUTTON", u"读取记录", WS_TABSTOP, 83, 35, 70, 24},
                                   {CRecordTestDlg::IDC_FIVE, u"BUTTON", u"FIVE", WS_TABSTOP, 161, 35, 70, 24},
                                   {CRecordTestDlg::IDC_READ, u"BUTTON", u"读取", WS_TABSTOP, 239, 35, 70, 24},
                                   {CRecordTestDlg::IDC_READ_RANGE, u"BUTTON", u"读取", WS_TABSTOP, 5, 65, 70, 24},
                                   {CRecordTestDlg::IDC_NEW_ROWID, u"EDIT", u"", ES_READONLY, 5, 100, 150, 22},
                                   {CRecordTestDlg::IDC_ALL_ROWID, u"EDIT", u"", ES_READONLY, 165, 100, 150, 22},
                                   {CRecordTestDlg::IDC_RAW_ROWID, u"EDIT", u"", ES_READONLY, 5, 130, 150, 22},
                                   {CRecordTestDlg::IDC_NEW_COUNT, u"EDIT", u"", ES_READONLY, 165, 130, 150, 22},
                                   {CRecordTestDlg::IDC_ALL_COUNT, u"EDIT", u"", ES_READONLY, 5, 160, 150, 22},
                               }};
const DialogTemplateEntry kTemplateEntry(kTemplate);

// The counters stored in BasePara, by column.
int StoredCounter(CSqlStatement& row, LPCWSTR column) {
    for (int i = 0; i < row.Fields(); ++i)
        if (CString(row.FieldName(i)).CompareNoCase(column) == 0) return row.ValueInt(i);
    return 0;
}

}  // namespace

CRecordTestDlg::CRecordTestDlg(CWnd* parent) : CDialog(IDD, parent) {}

BOOL CRecordTestDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    if (HIWORD(wParam) != BN_CLICKED) return CDialog::OnCommand(wParam, lParam);
    CRecordStore& store = *g_pRecordStore;
    // The ring's operations act on the terminal's one store, so that the
    // counters it keeps in memory and those in BasePara stay the same.
    switch (LOWORD(wParam)) {
    case IDC_ADD:
        AddTestRecords();
        return TRUE;
    case IDC_DELETE:
        store.DeleteOldest(100000);
        return TRUE;
    case IDC_INIT:
        store.Reset();
        return TRUE;
    case IDC_SET: {
        CString sql;
        sql.Format(u"update BasePara set AllRecordcount='%d',NewRecordcount='%d',\t\t\t\t\t "
                   u"AllRecordBeginRowid='%d',NewRecordBeginRowid = '%d'",
                   49960, 10, 150, 100);
        GetDatabase()->DirectStatement(sql);
        store.LoadCounters();
        return TRUE;
    }
    case IDC_READ_RECORDS: {
        // Reads the counters into a store of its own, which is dropped.
        CRecordStore loaded(*GetDatabase());
        return TRUE;
    }
    case IDC_READ:
        ShowCounters();
        return TRUE;
    case IDC_READ_RANGE: {
        BYTE buffer[25 * PackedCheckinoutSize];
        int n = 0;
        store.ReadRange(1977, 25, buffer, n);
        return TRUE;
    }
    default:
        return TRUE;
    }
}

// Each add puts 500 records a second apart, starting one day later than the
// add before. The store writes every record in a transaction of its own
// (the row with the ring's counters), so no transaction is opened around
// them: SQLite does not nest them, and every add would fail inside one.
void CRecordTestDlg::AddTestRecords() {
    ++m_adds;
    COleDateTime time(2009, 6, 1, 1, 1, 1);
    time += COleDateTimeSpan(m_adds, 0, 0, 0);
    for (int pass = 0; pass < kRecordsPerAdd / kRecordsPerPass; ++pass) {
        for (int j = 0; j < kRecordsPerPass; ++j) {
            time += COleDateTimeSpan(0, 0, 0, 1);
            CheckinoutRecord record;
            record.Userid.Format(u"%d", j);
            record.CheckTime.Format(u"%04d-%02d-%02d %02d:%02d:%02d", time.GetYear(), time.GetMonth(), time.GetDay(),
                                    time.GetHour(), time.GetMinute(), time.GetSecond());
            record.CheckType = 0;
            record.IsDownLoad = 0;
            record.WorkNumberAndPassType = 0;
            g_pRecordStore->AddRecord(record);
        }
    }
    ShowMessage(u"sdf", 0);
}

void CRecordTestDlg::ShowCounters() {
    StatementPtr row = PrepareBound(*GetDatabase(), u"SELECT * FROM Basepara");
    if (!row->NextRow()) return;
    const CRecordStore& store = *g_pRecordStore;
    const struct {
        int id;
        const char16_t* format;
        const char16_t* column;
        unsigned held;
    } kFields[] = {{IDC_NEW_ROWID, u"NEWROWID=%d,%d", u"NewRecordBeginRowid", store.GetNewRecordBeginRowid()},
                   {IDC_ALL_ROWID, u"ALLROWID=%d,%d", u"AllRecordBeginRowid", store.GetAllRecordBeginRowid()},
                   {IDC_RAW_ROWID, u"RAWROWID=%d,%d", u"RawRecordBeginRowid", store.GetRawRecordBeginRowid()},
                   {IDC_NEW_COUNT, u"NEWCOUNT=%d,%d", u"NewRecordcount", store.GetNewRecordcount()},
                   {IDC_ALL_COUNT, u"ALLCOUNT=%d,%d", u"AllRecordcount", store.GetAllRecordcount()}};
    for (const auto& field : kFields) {
        CString text;
        text.Format(field.format, StoredCounter(*row, field.column), static_cast<int>(field.held));
        SetDlgItemText(field.id, text);
    }
}
