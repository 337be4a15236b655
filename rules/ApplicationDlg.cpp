#include "rules/ApplicationDlg.h"

#include "core/WriteFailureBox.h"
#include "data/DataGlobals.h"
#include "data/DbTransaction.h"
#include "data/SqlHelpers.h"
#include "platform/ui/ddx.h"

namespace {

// Screen rows top to bottom: the label's id and text, the status number
// edited there, and the edit's id.
struct StatusRow {
    int labelId;
    LPCWSTR label;
    int status;
    int editId;
};
constexpr StatusRow kRows[CApplicationDlg::kStatuses] = {
    {1364, u"F1", 2, 1372}, {1365, u"F2", 3, 1307}, {1366, u"F3", 4, 1308}, {1367, u"F4", 5, 1309},
    {1368, u"F5", 6, 1310}, {1369, u"F6", 7, 1311}, {1370, u"IN", 0, 1312}, {1371, u"OUT", 1, 1313}};
// "OUT" is wider in our label font than the 25 pixels it was given.
constexpr int kOutLabelWidth = 28;
constexpr int kRowTop[CApplicationDlg::kStatuses] = {10, 31, 52, 73, 94, 115, 136, 159};

std::vector<DialogItemTemplate> PageItems() {
    std::vector<DialogItemTemplate> items;
    for (const StatusRow& row : kRows) items.push_back({row.labelId, u"STATIC", row.label, 0, 0, 0, 10, 10});
    for (const StatusRow& row : kRows)
        items.push_back({row.editId, u"EDIT", u"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 0, 0, 10, 10});
    return items;
}

const DialogTemplate kTemplate{CApplicationDlg::IDD, WS_CHILD, 0, 0, 320, 240, u"", PageItems()};
const DialogTemplateEntry kTemplateEntry(kTemplate);

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 400, 1, 6};
const WidgetFontSpec kEditFont{u"tohamo", 16, 80, 1, 6};

}  // namespace

CApplicationDlg::CApplicationDlg() : CRulePage(IDD, u"CApplicationDlg") {
    MakeWidgetFont(m_editFont, kTraditionalFont, kEditFont);
}

void CApplicationDlg::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    for (int row = 0; row < kStatuses; ++row) DDX_Control(dx, kRows[row].labelId, m_labels[row]);
    for (int row = 0; row < kStatuses; ++row) DDX_Control(dx, kRows[row].editId, m_edits[kRows[row].status]);
}

BOOL CApplicationDlg::OnInitDialog() {
    CRulePage::OnInitDialog();
    for (CFontStatic& label : m_labels) AddLabel(label);
    for (CJHKeyEdit& edit : m_edits) edit.SetFont(&m_editFont, TRUE);
    return TRUE;
}

// Names of statuses outside 0 to 7 are not shown; a status without a row
// keeps what its field showed. The page window is made hidden, so no field
// took the focus then: the first row's gets it, or the keys (ESC included)
// would not reach the page.
BOOL CApplicationDlg::EnterPage() {
    {
        StatementPtr rows(GetDatabase()->Statement(u"Select * from StatusBase"));
        while (rows->NextRow()) {
            const auto status = static_cast<unsigned>(rows->ValueInt(0));
            if (status < kStatuses) m_edits[status].SetWindowText(rows->ValueString(1));
        }
    }
    LayoutControls();
    m_edits[kRows[0].status].SetFocus();
    return CRulePage::EnterPage();
}

BOOL CApplicationDlg::LeavePage() {
    SaveStatusNames();
    return CRulePage::LeavePage();
}

void CApplicationDlg::LayoutControls() {
    for (int row = 0; row < kStatuses; ++row) {
        m_labels[row].MoveWindow(92, kRowTop[row], kRows[row].status == 1 ? kOutLabelWidth : 20, 15);
        m_edits[kRows[row].status].MoveWindow(130, kRowTop[row], 100, 15);
    }
}

// Every name is written on every leave, as typed; the name is bound, so a
// quote in it is stored like any other character. The eight names are one
// save: a power cut keeps all the old ones or all the new ones, and a save
// the database refuses is told.
void CApplicationDlg::SaveStatusNames() {
    CWriteFailureBox failure;
    const bool stored = failure.Run([this] {
        CDbTransaction transaction(*GetDatabase());
        bool written = transaction.IsOpen();
        for (int status = 0; written && status < kStatuses; ++status) {
            CString sql;
            sql.Format(u"Update StatusBase set StatuName=? WHERE ID = '%d'", status);
            CString name;
            m_edits[status].GetWindowText(name);
            written = ExecuteBound(*GetDatabase(), sql, {name});
        }
        return written && transaction.Commit();
    });
    if (!stored) failure.Show();
}

void CApplicationDlg::OnPaint() { ValidateRect(nullptr); }
