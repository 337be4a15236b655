#include "rules/CPTreeGroupSetting.h"

#include "core/MachineConfig.h"
#include "platform/ui/dialog.h"
#include "rules/LeaveQuestions.h"
#include "rules/SelectorRows.h"
#include "rules/ZoneRowWrite.h"

namespace {

constexpr int kSetId = 1270;
constexpr int kGroupLabelId = 1271;
constexpr int kGroupId = 1272;
constexpr int kZoneLabelIds[] = {1273, 1275, 1277, 1279};
constexpr int kZoneIds[] = {1274, 1276, 1278, 1280};
constexpr int kRowTops[] = {3, 29, 55, 81, 107};
constexpr int kRowHeight = 23;

constexpr int kFirstGroup = 2;
constexpr int kLastGroup = 16;
constexpr int kNoGroup = 17;
constexpr int kFirstZone = 1;
constexpr int kLastZone = 32;
constexpr int kNoZone = 33;

std::vector<DialogItemTemplate> Items() {
    std::vector<DialogItemTemplate> items{
        {kGroupLabelId, u"STATIC", u"组编号", 0, 20, kRowTops[0], 100, kRowHeight},
        {kGroupId, u"STATIC", u"", WS_TABSTOP, 140, kRowTops[0], 160, kRowHeight},
    };
    for (int i = 0; i < 4; ++i) {
        items.push_back({kZoneLabelIds[i], u"STATIC", u"", 0, 20, kRowTops[i + 1], 100, kRowHeight});
        items.push_back({kZoneIds[i], u"STATIC", u"", WS_TABSTOP, 140, kRowTops[i + 1], 160, kRowHeight});
    }
    items.push_back({kSetId, u"STATIC", u"设置", WS_TABSTOP, 20, 133, 280, kRowHeight});
    return items;
}

const DialogTemplate kTemplate{CCPTreeGroupSetting::IDD, WS_CHILD, 0, 0, 320, 194, u"", Items()};
const DialogTemplateEntry kTemplateEntry(kTemplate);

// The group's four zones (0 = none); a missing row is inserted.
constexpr ZoneRowStatements kGroupRow{
    u"Select * from SpaceGroup where GroupID=?",
    u"Update SpaceGroup set FirstSpace=?,SecondSpace=?,ThirdSpace=?\t\t\t\t\t\t  ,FourSpace =? WHERE GroupID = ?",
    u"Insert Into SpaceGroup(GroupID,FirstSpace,SecondSpace,ThirdSpace,FourSpace)\t\t\t\t\t\t  Values(?,?,?,?,?)"};

int ZoneOrNone(int zone) { return zone == 0 ? kNoZone : zone; }

}  // namespace

CCPTreeGroupSetting::CCPTreeGroupSetting() : CRulePage(IDD, u"CCPTreeGroupSetting", kSetId) {}

void CCPTreeGroupSetting::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    DDX_Control(dx, kGroupId, m_group);
    for (int i = 0; i < kZones; ++i) DDX_Control(dx, kZoneIds[i], m_zones[i]);
    DDX_Control(dx, kGroupLabelId, m_groupLabel);
    for (int i = 0; i < kZones; ++i) DDX_Control(dx, kZoneLabelIds[i], m_zoneLabels[i]);
    DDX_Control(dx, kSetId, m_set);
}

BOOL CCPTreeGroupSetting::OnInitDialog() {
    CRulePage::OnInitDialog();
    m_groupLabel.SetWindowText(Text(u"PGS0001", u"组编号"));
    m_zoneLabels[0].SetWindowText(Text(u"PGS0002", u"时间段1"));
    m_zoneLabels[1].SetWindowText(Text(u"PGS0003", u"时间段2"));
    m_zoneLabels[2].SetWindowText(Text(u"PGS0004", u"时间段3"));
    m_zoneLabels[3].SetWindowText(Text(u"PGS0005", u"时间段4"));
    m_set.SetText(Text(u"PGS0006", u"设置"));
    AddLabel(m_groupLabel);
    AddPanelSelector(m_group);
    for (int i = 0; i < kZones; ++i) {
        AddLabel(m_zoneLabels[i]);
        AddPanelSelector(m_zones[i]);
    }
    AddCanvas(m_set);
    return TRUE;
}

BOOL CCPTreeGroupSetting::EnterPage() {
    LayoutControls();
    FillSelectors();
    HideForCapture();
    m_group.SetFocus();
    return CRulePage::EnterPage();
}

void CCPTreeGroupSetting::LayoutControls() {
    PlaceRow(*this, kRowTops[0], kRowHeight, {{kGroupLabelId, 20, 100}, {kGroupId, 140, 160}});
    for (int i = 0; i < kZones; ++i)
        PlaceRow(*this, kRowTops[i + 1], kRowHeight, {{kZoneLabelIds[i], 20, 100}, {kZoneIds[i], 140, 160}});
    PlaceRow(*this, 133, kRowHeight, {{kSetId, 20, 280}});
}

void CCPTreeGroupSetting::FillSelectors() {
    FillNumbersAndNone(m_group, kFirstGroup, kLastGroup, kNoGroup);
    m_group.SetCurSelByValue(kNoGroup);
    for (CJHSelectBox& zone : m_zones) {
        FillNumbersAndNone(zone, kFirstZone, kLastZone, kNoZone);
        zone.SetCurSelByValue(kNoZone);
    }
}

LRESULT CCPTreeGroupSetting::OnSBSelChange(UINT id) {
    if (id != kGroupId) return 0;
    const int group = m_group.GetCurSelValue();
    int zones[kZones] = {kNoZone, kNoZone, kNoZone, kNoZone};
    AccessGroupEntry entry;
    if (group != kNoGroup && g_MachineConfig.AccessGroupTable.Get(group, entry)) {
        zones[0] = ZoneOrNone(entry.FirstSpace);
        zones[1] = ZoneOrNone(entry.SecondSpace);
        zones[2] = ZoneOrNone(entry.ThirdSpace);
        zones[3] = ZoneOrNone(entry.FourSpace);
    }
    // A zone number the list does not hold shows None, never the zone of
    // the group shown before.
    for (int i = 0; i < kZones; ++i) {
        SelectValueOr(m_zones[i], zones[i], kNoZone);
        m_zones[i].Invalidate(TRUE);
    }
    return 1;
}

void CCPTreeGroupSetting::OnSet() {
    const int group = m_group.GetCurSelValue();
    if (group == kNoGroup) return;
    if (!AskYesNo(Text(u"PGS0007", u"确定设置这组时间段编号吗?"))) return;
    int zones[kZones];
    for (int i = 0; i < kZones; ++i) {
        const int value = m_zones[i].GetCurSelValue();
        zones[i] = value == kNoZone ? 0 : value;
    }
    AccessGroupEntry entry;
    if (g_MachineConfig.AccessGroupTable.Get(group, entry)) {
        entry.FirstSpace = zones[0];
        entry.SecondSpace = zones[1];
        entry.ThirdSpace = zones[2];
        entry.FourSpace = zones[3];
        g_MachineConfig.AccessGroupTable.Set(group, entry);
    }
    WriteZoneRow(kGroupRow, group, {zones[0], zones[1], zones[2], zones[3], group},
                 {group, zones[0], zones[1], zones[2], zones[3]});
    m_group.SetFocus();
}
