#include "rules/CPTreeACSetting.h"

#include "core/ConfigChange.h"
#include "core/ConfigXml.h"
#include "core/MachineConfig.h"
#include "main/AlarmChecks.h"
#include "platform/ui/dialog.h"
#include "rules/SelectorRows.h"
#include "rules/TypedNumber.h"

namespace {

constexpr int kRelayModeId = 1245;
constexpr int kWiegandModeId = 1247;
constexpr int kTamperId = 1309;
constexpr int kDoorSensorId = 1310;
constexpr int kFacilityCodeId = 1249;
constexpr int kLockDelayId = 1256;
constexpr int kNoteId = 1218;
// Relay mode, Wiegand format, tamper, door sensor, facility code, lock delay.
constexpr int kLabelIds[] = {1244, 1246, 1307, 1308, 1248, 1255};
constexpr int kLabelWidths[] = {125, 100, 100, 100, 125, 125};
constexpr int kRowTops[] = {3, 23, 43, 63, 83, 103};
constexpr int kFieldIds[] = {kRelayModeId, kWiegandModeId, kTamperId, kDoorSensorId, kFacilityCodeId, kLockDelayId};
constexpr int kRowHeight = 17;
constexpr int kFieldX = 140;
constexpr int kFieldWidth = 160;

// What stored values no item lists mean: a relay mode outside 0-3 drives
// neither relay, as "None" does; a check other than 0 is switched on in the
// controller, as "Yes" does.
constexpr int kNoRelay = 4;
constexpr int kCheckOn = 1;

constexpr UINT kHighestFacilityCode = 254;
constexpr UINT kLongestLockDelay = 15;

std::vector<DialogItemTemplate> Items() {
    std::vector<DialogItemTemplate> items;
    for (int row = 0; row < 6; ++row) {
        items.push_back({kLabelIds[row], u"STATIC", u"", 0, 10, kRowTops[row], kLabelWidths[row], kRowHeight});
        const bool edit = kFieldIds[row] == kFacilityCodeId || kFieldIds[row] == kLockDelayId;
        items.push_back({kFieldIds[row], edit ? u"EDIT" : u"STATIC", u"",
                         static_cast<DWORD>(WS_TABSTOP | (edit ? ES_AUTOHSCROLL : 0)), kFieldX, kRowTops[row],
                         kFieldWidth, kRowHeight});
    }
    items.push_back({kNoteId, u"STATIC", u"", 0, 3, 123, 314, 144});
    return items;
}

const DialogTemplate kTemplate{CCPTreeACSetting::IDD, WS_CHILD, 0, 0, 320, 194, u"", Items()};
const DialogTemplateEntry kTemplateEntry(kTemplate);

}  // namespace

CCPTreeACSetting::CCPTreeACSetting() : CRulePage(IDD, u"CCPTreeACSetting") {}

void CCPTreeACSetting::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    DDX_Control(dx, kRelayModeId, m_relayMode);
    DDX_Control(dx, kWiegandModeId, m_wiegandMode);
    DDX_Control(dx, kTamperId, m_tamperCheck);
    DDX_Control(dx, kDoorSensorId, m_doorSensorCheck);
    for (int row = 0; row < 6; ++row) DDX_Control(dx, kLabelIds[row], m_labels[row]);
    DDX_Control(dx, kNoteId, m_note);
    DDX_Control(dx, kFacilityCodeId, m_facilityCode);
    DDX_Control(dx, kLockDelayId, m_lockDelay);
}

BOOL CCPTreeACSetting::OnInitDialog() {
    CRulePage::OnInitDialog();
    m_labels[0].SetWindowText(Text(u"TAS0001", u"继电器控制方式(打铃允许)"));
    // Its twelve Chinese characters are wider than the label's 125 pixels.
    m_labels[0].FitText(true);
    m_labels[1].SetWindowText(Text(u"TAS0002", u"韦根模式"));
    m_labels[2].SetWindowText(Text(u"TAS0013", u"开启防拆检测"));
    m_labels[3].SetWindowText(Text(u"TAS0014", u"开启门磁检测"));
    m_labels[4].SetWindowText(Text(u"TAS0003", u"固定韦根区号(0-254)"));
    m_labels[5].SetWindowText(Text(u"TAS0004", u"锁控延时(0-15秒)"));
    m_note.SetWindowText(Text(u"TAS0010", u""));
    for (CJHSelectBox* box : {&m_relayMode, &m_wiegandMode, &m_tamperCheck, &m_doorSensorCheck})
        AddPanelSelector(*box);
    for (CFontStatic& label : m_labels) AddLabel(label);
    AddLabel(m_note);
    return TRUE;
}

void CCPTreeACSetting::FillSelectors() {
    FillSelector(m_relayMode, {{Text(u"TAS0016", u"1-响铃 2-锁控"), 0},
                               {Text(u"TAS0017", u"1-锁控"), 1},
                               {Text(u"TAS0018", u"2-锁控"), 2},
                               {Text(u"TAS0019", u"锁控"), 3},
                               {Text(u"TAS0020", u"无"), 4}});
    FillSelector(m_wiegandMode, {{Text(u"TAS0007", u"韦根26模式"), 0},
                                 {Text(u"TAS0008", u"维尔托韦根"), 1},
                                 {Text(u"TAS0009", u"固定韦根头韦根"), 2}});
    const CString no = Text(u"TAS0005", u"否");
    const CString yes = Text(u"TAS0006", u"是");
    FillSelector(m_tamperCheck, {{no, 0}, {yes, 1}});
    FillSelector(m_doorSensorCheck, {{no, 0}, {yes, 1}});
}

BOOL CCPTreeACSetting::EnterPage() {
    FillSelectors();
    const CMachineConfig& c = g_MachineConfig;
    m_relayModeChoice.Show(c.RING, kNoRelay);
    m_wiegandModeChoice.Show(c.WIEGANDMODE);
    m_tamperChoice.Show(c.FCCHECKALARM, kCheckOn);
    m_doorSensorChoice.Show(c.MCCHECKALARM, kCheckOn);
    CString text;
    text.Format(u"%d", c.WIEGANDHEAD);
    m_facilityCode.SetWindowText(text);
    text.Format(u"%d", c.LOCKDELAY);
    m_lockDelay.SetWindowText(text);
    LayoutControls();
    HideForCapture();
    const BOOL entered = CRulePage::EnterPage();
    m_relayMode.SetFocus();
    return entered;
}

void CCPTreeACSetting::LayoutControls() {
    for (int row = 0; row < 6; ++row)
        PlaceRow(*this, kRowTops[row], kRowHeight,
                 {{kLabelIds[row], 10, kLabelWidths[row]}, {kFieldIds[row], kFieldX, kFieldWidth}});
    m_note.MoveWindow(3, 123, 314, 144, FALSE);
    m_note.SetTextFormat(DT_LEFT | DT_WORDBREAK, 12);
}

BOOL CCPTreeACSetting::LeavePage() {
    const CString facilityText = FieldText(m_facilityCode);
    const CString delayText = FieldText(m_lockDelay);
    LONG facilityCode = 0;
    LONG lockDelay = 0;
    if (!ReadTypedNumber(facilityText, kHighestFacilityCode, &facilityCode)) {
        Refuse(Text(u"TAS0011", u"固定韦根区号设置不正确,请重新设置!"), m_facilityCode);
        return FALSE;
    }
    if (!ReadTypedNumber(delayText, kLongestLockDelay, &lockDelay)) {
        Refuse(Text(u"TAS0012", u"锁控延时设置不正确,请重新设置!"), m_lockDelay);
        return FALSE;
    }
    CMachineConfig& c = g_MachineConfig;
    const int ring = m_relayModeChoice.Value();
    const int tamperCheck = m_tamperChoice.Value();
    const int doorSensorCheck = m_doorSensorChoice.Value();
    const int wiegandMode = m_wiegandModeChoice.Value();
    CConfigChange change;
    if (wiegandMode != c.WIEGANDMODE) SetConfigInt(u"WIEGANDMODE", static_cast<UINT>(wiegandMode), FALSE);
    WriteTypedNumber(u"WIEGANDHEAD", facilityText, facilityCode, c.WIEGANDHEAD);
    WriteTypedNumber(u"LOCKDELAY", delayText, lockDelay, c.LOCKDELAY);
    m_tamperChoice.Write(u"FCCHECKALARM");
    m_doorSensorChoice.Write(u"MCCHECKALARM");
    m_relayModeChoice.Write(u"RING");
    // Not saved, the old values stay in force, and the controller is told
    // the checks that are in force.
    if (change.Save()) {
        c.RING = ring;
        c.FCCHECKALARM = tamperCheck;
        c.MCCHECKALARM = doorSensorCheck;
        c.WIEGANDMODE = wiegandMode;
        c.WIEGANDHEAD = facilityCode;
        c.LOCKDELAY = lockDelay;
    }
    SendDoorSensorCommand(c.FCCHECKALARM != 0);
    SendTamperCommand(c.MCCHECKALARM != 0);
    return CRulePage::LeavePage();
}
