#include "rules/CPTreeSpaceSetting.h"

#include "core/AccessTables.h"
#include "core/MachineConfig.h"
#include "platform/ui/ddx.h"
#include "rules/LeaveQuestions.h"
#include "rules/SelectorRows.h"
#include "rules/ZoneRowWrite.h"

namespace {

const DialogTemplate kTemplate{CCPTreeSpaceSetting::IDD, WS_CHILD, 0, 0, 320, 240, u"",
                               CWeekTimeGrid::PageItems({CCPTreeSpaceSetting::kZoneSelectorId})};
const DialogTemplateEntry kTemplateEntry(kTemplate);

constexpr ZoneRowStatements kZoneRow{
    u"Select * from OpenDoorSpace where SpaceID=?",
    u"Update OpenDoorSpace set MonStart=?,MonEnd=?,TuesStart=?,TuesEnd =?\t\t\t\t\t\t  ,WednStart =?,WednEnd=?,"
    u"ThurStart=?,ThurEnd=?,FriStart = ?,FriEnd =?\t\t\t\t\t\t  ,SatStart = ?,SatEnd = ?,SunStart =?,SunEnd = ? "
    u"WHERE SpaceID = ?",
    u"Insert Into OpenDoorSpace  Values(?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"};

// The leave question of each time, in column order.
constexpr LPCWSTR kChangedKeys[kWeekTimes] = {u"TSS0011", u"TSS0012", u"TSS0013", u"TSS0014", u"TSS0015",
                                              u"TSS0016", u"TSS0017", u"TSS0018", u"TSS0019", u"TSS0020",
                                              u"TSS0021", u"TSS0022", u"TSS0023", u"TSS0024"};
constexpr LPCWSTR kChangedTexts[kWeekTimes] = {
    u"星期一开始时间改变，是否设置？", u"星期一结束时间改变，是否设置？", u"星期二开始时间改变，是否设置？",
    u"星期二结束时间改变，是否设置？", u"星期三开始时间改变，是否设置？", u"星期三结束时间改变，是否设置？",
    u"星期四开始时间改变，是否设置？", u"星期四结束时间改变，是否设置？", u"星期五开始时间改变，是否设置？",
    u"星期五结束时间改变，是否设置？", u"星期六开始时间改变，是否设置？", u"星期六结束时间改变，是否设置？",
    u"星期日开始时间改变，是否设置？", u"星期日结束时间改变，是否设置？"};

}  // namespace

CCPTreeSpaceSetting::CCPTreeSpaceSetting() : CRulePage(IDD, CWeekTimeGrid::kSection, CWeekTimeGrid::kSetButtonId) {}

void CCPTreeSpaceSetting::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    DDX_Control(dx, kZoneSelectorId, m_zoneSelector);
    m_grid.Bind(dx);
}

BOOL CCPTreeSpaceSetting::OnInitDialog() {
    CRulePage::OnInitDialog();
    m_grid.Clear();
    m_grid.LoadTexts();
    FillNumbersAndNone(m_zoneSelector, 1, kNoZone - 1, kNoZone);
    AddPanelSelector(m_zoneSelector);
    m_grid.AddTo(*this);
    m_zoneSelector.SetFocus();
    return FALSE;
}

// Every visit starts at no zone with cleared times.
BOOL CCPTreeSpaceSetting::EnterPage() {
    m_grid.Layout();
    m_zoneSelector.MoveWindow(110, 3, 205, 18);
    m_zoneSelector.SetCurSelByValue(kNoZone);
    m_grid.Clear();
    HideForCapture();
    m_zoneSelector.SetFocus();
    return CRulePage::EnterPage();
}

// Times that differ from the stored ones are asked about one by one; Yes
// keeps the page open so that they can be set.
BOOL CCPTreeSpaceSetting::LeavePage() {
    const int zone = m_zoneSelector.GetCurSelValue();
    if (zone != kNoZone) {
        const WeekTimeTexts stored = StoredTimes(zone);
        const WeekTimeTexts shown = m_grid.PickerTexts();
        std::vector<LeaveQuestion> questions;
        for (int k = 0; k < kWeekTimes; ++k)
            questions.push_back({shown[k] != stored[k], kChangedKeys[k], kChangedTexts[k]});
        if (UserStaysToStore(CWeekTimeGrid::kSection, questions)) return FALSE;
    }
    return CRulePage::LeavePage();
}

WeekTimeTexts CCPTreeSpaceSetting::StoredTimes(int zone) {
    AccessZoneEntry entry;
    g_MachineConfig.AccessZoneTable.Get(zone, entry);
    const auto texts = ZoneTexts(entry);
    WeekTimeTexts times;
    for (int k = 0; k < kWeekTimes; ++k) times[k] = *texts[k];
    return times;
}

// The in-memory zone is written first and whatever the database says: the
// verification works with what the page shows.
void CCPTreeSpaceSetting::OnSet() {
    const int zone = m_zoneSelector.GetCurSelValue();
    if (zone == kNoZone || !CWeekTimeGrid::ConfirmSet()) return;

    const WeekTimeTexts times = m_grid.PickerTexts();
    AccessZoneEntry entry;
    g_MachineConfig.AccessZoneTable.Get(zone, entry);
    const auto texts = ZoneTexts(entry);
    for (int k = 0; k < kWeekTimes; ++k) *texts[k] = times[k];
    g_MachineConfig.AccessZoneTable.Set(zone, entry);

    SqlValues values(times.begin(), times.end());
    values.push_back(zone);
    WriteZoneRow(kZoneRow, zone, values, values);
    m_zoneSelector.SetFocus();
}

LRESULT CCPTreeSpaceSetting::OnSBSelChange(UINT id) {
    if (id != kZoneSelectorId) return 0;
    const int zone = m_zoneSelector.GetCurSelValue();
    if (zone == kNoZone) {
        m_zoneSelector.SetCurSelByValue(kNoZone);
        m_grid.Clear();
    } else {
        m_grid.ShowTimes(StoredTimes(zone));
    }
    m_grid.RepaintPickers();
    return 1;
}
