#include "rules/AutoFNDlg.h"

#include "core/LangText.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "platform/ui/ddx.h"
#include "rules/SelectorRows.h"
#include "rules/ZoneRowWrite.h"
#include "rules/ZoneTimes.h"

namespace {

const DialogTemplate kTemplate{CAutoFNDlg::IDD, WS_CHILD, 0, 0, 320, 240, u"",
                               CWeekTimeGrid::PageItems({CAutoFNDlg::kZoneSelectorId, CAutoFNDlg::kStatusSelectorId})};
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr LPCWSTR kSection = u"CAutoFNDlg";
constexpr LPCWSTR kTextKeys[] = {u"AFN001", u"AFN002", u"AFN003", u"AFN004", u"AFN005",
                                 u"AFN006", u"AFN007", u"AFN008", u"AFN009"};
constexpr LPCWSTR kTextDefaults[] = {u"星期一", u"星期二", u"星期三",
                                     u"星期四", u"星期五", u"星期六",
                                     u"星期天", u"开始时间不能大于结束时间", u"与时间段 %d%s %s~%s有冲突，请从新设置"};

// The status and the fourteen times of a zone; a zone missing from the
// table stays missing.
constexpr ZoneRowStatements kZoneRow{
    u"Select * from AtuoFN where SpaceID=?",
    u"Update AtuoFN set MonStart=?,MonEnd=?,TuesStart=?,TuesEnd =?\t\t\t\t\t  ,WednStart =?,WednEnd=?,ThurStart=?,"
    u"ThurEnd=?,FriStart = ?,FriEnd =?\t\t\t\t\t  ,SatStart = ?,SatEnd = ?,SunStart =?,SunEnd = ? ,FNID = ? "
    u"WHERE SpaceID = ?",
    nullptr};

constexpr int kSpaceIdColumn = 14;
constexpr int kStatusColumn = 15;

}  // namespace

CAutoFNDlg::CAutoFNDlg() : CRulePage(IDD, kSection, CWeekTimeGrid::kSetButtonId) {}

void CAutoFNDlg::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    DDX_Control(dx, kStatusSelectorId, m_statusSelector);
    DDX_Control(dx, kZoneSelectorId, m_zoneSelector);
    m_grid.Bind(dx);
}

BOOL CAutoFNDlg::OnInitDialog() {
    CRulePage::OnInitDialog();
    m_grid.Clear();
    LoadTexts();
    AddCanvas(m_statusSelector);
    AddPanelSelector(m_zoneSelector);
    m_grid.AddTo(*this);
    return TRUE;
}

void CAutoFNDlg::LoadTexts() {
    m_grid.LoadTexts();
    for (int i = 0; i < kOverlapRefusal; ++i) m_texts[i] = Text(kTextKeys[i], kTextDefaults[i]);
    GetLangFormat(kSection, kTextKeys[kOverlapRefusal], kTextDefaults[kOverlapRefusal], m_texts[kOverlapRefusal]);
    AddNumberItems(m_zoneSelector, 1, kZones);
    m_zoneSelector.SetCurSelByValue(1);
}

// Every visit starts at zone 1 with its stored values; the widgets are
// shown again by the page's next paint, over the fresh background.
BOOL CAutoFNDlg::EnterPage() {
    LayoutControls();
    LoadStatusNames();
    m_grid.Clear();
    m_zoneSelector.SetFocus();
    HideForCapture();
    m_zoneSelector.SetCurSelByValue(1);
    LoadZone(1);
    return CRulePage::EnterPage();
}

void CAutoFNDlg::LayoutControls() {
    m_grid.Layout();
    m_zoneSelector.MoveWindow(110, 1, 100, 18);
    m_statusSelector.MoveWindow(215, 1, 100, 18);
}

void CAutoFNDlg::LoadStatusNames() {
    m_statusSelector.ResetContent();
    {
        StatementPtr rows(GetDatabase()->Statement(u"Select * from StatusBase"));
        while (rows->NextRow()) m_statusSelector.AddItem(rows->ValueString(1), rows->ValueInt(0));
    }
    m_statusSelector.SetCurSelByValue(0);
    m_entryStatus = m_statusSelector.GetCurSelValue();
}

// A zone without a row leaves the widgets as they were. A stored time is
// read by the hour-and-minute rule, so a malformed one still sets both
// fields; a stored status without an item shows the entry status, never
// the previous zone's.
void CAutoFNDlg::LoadZone(int zone) {
    StatementPtr row(GetDatabase()->Statement(u"Select * from AtuoFN where SpaceID = ?"));
    row->Bind(0, zone);
    if (row->NextRow()) {
        SelectValueOr(m_statusSelector, row->ValueInt(kStatusColumn), m_entryStatus);
        WeekTimeTexts times;
        for (int k = 0; k < kWeekTimes; ++k) times[k] = row->ValueString(k);
        m_grid.ShowTimes(times);
    }
    RefreshControls();
}

void CAutoFNDlg::RefreshControls() {
    for (CJHSelectBox* selector : {&m_zoneSelector, &m_statusSelector}) {
        selector->Invalidate(TRUE);
        selector->UpdateWindow();
    }
    m_grid.RepaintPickers();
}

BOOL CAutoFNDlg::PreTranslateMessage(MSG* msg) {
    if (msg->message == WM_KEYUP && msg->wParam == VK_F1) OnSet();
    return CCPTreeBase::PreTranslateMessage(msg);
}

void CAutoFNDlg::OnSet() {
    const int zone = m_zoneSelector.GetCurSelValue();
    if (!CWeekTimeGrid::ConfirmSet()) {
        m_zoneSelector.SetFocus();
        return;
    }
    if (!CheckZoneOverlap()) return;
    const WeekTimeTexts times = m_grid.PickerTexts();
    SqlValues values(times.begin(), times.end());
    values.push_back(m_statusSelector.GetCurSelValue());
    values.push_back(zone);
    WriteZoneRow(kZoneRow, zone, values);
    m_zoneSelector.SetFocus();
}

// True when the set may go on. Each weekday's start must not be after its
// end. Then every other zone is compared to the minute: two windows
// conflict when each starts before the other ends, so windows that only
// touch do not, and an empty window (start equal to end) never conflicts.
// The first zone in table order that conflicts is reported, with its last
// conflicting weekday.
bool CAutoFNDlg::CheckZoneOverlap() {
    const WeekTimeTexts times = m_grid.PickerTexts();
    for (int day = 0; day < kWeekDays; ++day) {
        if (!CheckDayOrder(times[2 * day], times[2 * day + 1], m_texts[day], m_grid.StartPicker(day))) return false;
    }
    int newStart[kWeekDays];
    int newEnd[kWeekDays];
    for (int day = 0; day < kWeekDays; ++day) {
        newStart[day] = StoredTimeMinutes(times[2 * day]);
        newEnd[day] = StoredTimeMinutes(times[2 * day + 1]);
    }
    StatementPtr rows(GetDatabase()->Statement(u"Select * from AtuoFN where SpaceID <> ?"));
    rows->Bind(0, m_zoneSelector.GetCurSelValue());
    while (rows->NextRow()) {
        int conflictDay = -1;
        for (int day = 0; day < kWeekDays; ++day) {
            int start = 0;
            int end = 0;
            ReadRowTimes(*rows, 2 * day, 2 * day + 1, &start, &end);
            const bool bothWindows = newStart[day] < newEnd[day] && start < end;
            if (bothWindows && newStart[day] < end && start < newEnd[day]) conflictDay = day;
        }
        if (conflictDay < 0) continue;
        CString storedStart(rows->ValueString(2 * conflictDay));
        CString storedEnd(rows->ValueString(2 * conflictDay + 1));
        CString text;
        text.Format(m_texts[kOverlapRefusal], rows->ValueInt(kSpaceIdColumn), m_texts[conflictDay].GetString(),
                    storedStart.Trim().GetString(), storedEnd.Trim().GetString());
        Refuse(text, m_grid.StartPicker(conflictDay));
        return false;
    }
    m_zoneSelector.SetFocus();
    return true;
}

// The texts are "HH:MM", so text order is time order.
bool CAutoFNDlg::CheckDayOrder(const CString& start, const CString& end, const CString& dayName,
                               CLDDateCtrl& startPicker) {
    if (start.Compare(end) <= 0) return true;
    Refuse(dayName + m_texts[kOrderRefusal], startPicker);
    return false;
}

void CAutoFNDlg::ReadRowTimes(CSqlStatement& row, int startColumn, int endColumn, int* start, int* end) {
    *start = StoredTimeMinutes(row.ValueString(startColumn));
    *end = StoredTimeMinutes(row.ValueString(endColumn));
}

// Enter moves no focus on this page: only the Set button takes it.
LRESULT CAutoFNDlg::OnEditEnter(UINT id) { return id == CWeekTimeGrid::kSetButtonId ? CRulePage::OnEditEnter(id) : 1; }

LRESULT CAutoFNDlg::OnSBSelChange(UINT id) {
    if (id == kZoneSelectorId) LoadZone(m_zoneSelector.GetCurSelValue());
    return 1;
}
