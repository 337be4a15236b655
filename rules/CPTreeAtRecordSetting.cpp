#include "rules/CPTreeAtRecordSetting.h"

#include "core/ConfigChange.h"
#include "core/ConfigXml.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"
#include "platform/ui/dialog.h"
#include "rules/SelectorRows.h"
#include "rules/TypedNumber.h"

namespace {

constexpr int kWorkCodeTitleId = 1232;
constexpr int kWorkCodeId = 1233;
constexpr int kIntervalId = 1254;
constexpr int kThresholdId = 1252;
constexpr int kIntervalTitleId = 1253;
constexpr int kThresholdTitleId = 1251;
constexpr int kHelpId = 1218;

constexpr UINT kLongestInterval = 250;
constexpr UINT kHighestThreshold = 5000;

// The work-code row stands at the foot of the page, below the help text.
const DialogTemplate kTemplate{CCPTreeAtRecordSetting::IDD, WS_CHILD, 0, 0, 320, 194, u"",
                               {
                                   {kIntervalTitleId, u"STATIC", u"", 0, 20, 3, 200, 23},
                                   {kIntervalId, u"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, 240, 3, 60, 23},
                                   {kThresholdTitleId, u"STATIC", u"", 0, 20, 29, 200, 23},
                                   {kThresholdId, u"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, 240, 29, 60, 23},
                                   {kWorkCodeTitleId, u"STATIC", u"工作码允许", 0, 20, 168, 150, 23},
                                   {kWorkCodeId, u"STATIC", u"", WS_TABSTOP, 180, 168, 120, 23},
                                   {kHelpId, u"STATIC", u"", 0, 20, 52, 300, 163},
                               }};
const DialogTemplateEntry kTemplateEntry(kTemplate);

}  // namespace

CCPTreeAtRecordSetting::CCPTreeAtRecordSetting() : CRulePage(IDD, u"CCPTreeAtRecordSetting") {}

void CCPTreeAtRecordSetting::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    DDX_Control(dx, kWorkCodeId, m_workCode);
    DDX_Control(dx, kIntervalId, m_interval);
    DDX_Control(dx, kThresholdId, m_threshold);
    DDX_Control(dx, kIntervalTitleId, m_intervalTitle);
    DDX_Control(dx, kThresholdTitleId, m_thresholdTitle);
    DDX_Control(dx, kHelpId, m_help);
}

BOOL CCPTreeAtRecordSetting::OnInitDialog() {
    CRulePage::OnInitDialog();
    m_intervalTitle.SetWindowText(Text(u"TAR0001", u"重复考勤时间间隔(0-250分钟)"));
    m_thresholdTitle.SetWindowText(Text(u"TAR0002", u"记录报警閥值(0-5000)"));
    SetDlgItemText(kWorkCodeTitleId, Text(u"TAR0003", u"工作码允许"));
    m_help.SetWindowText(Text(u"TAR0006", u""));
    AddPanelSelector(m_workCode);
    AddLabel(m_intervalTitle);
    AddLabel(m_thresholdTitle);
    AddLabel(m_help);
    AddField(m_interval);
    AddField(m_threshold);
    return TRUE;
}

BOOL CCPTreeAtRecordSetting::EnterPage() {
    LayoutControls();
    FillSelector(m_workCode, {{Text(u"TAR0004", u"否"), 0}, {Text(u"TAR0005", u"是"), 1}});
    m_workCodeChoice.Show(g_MachineConfig.WORKCODE);
    CString text;
    text.Format(u"%d", g_MachineConfig.REATTIMEGAP);
    m_interval.SetWindowText(text);
    text.Format(u"%d", g_MachineConfig.WARNINGNUM);
    m_threshold.SetWindowText(text);
    HideForCapture();
    const BOOL entered = CRulePage::EnterPage();
    m_interval.SetFocus();
    return entered;
}

void CCPTreeAtRecordSetting::LayoutControls() {
    PlaceRow(*this, 3, 23, {{kIntervalTitleId, 20, 200}, {kIntervalId, 240, 60}});
    PlaceRow(*this, 29, 23, {{kThresholdTitleId, 20, 200}, {kThresholdId, 240, 60}});
    m_help.MoveWindow(20, 52, 300, 163, FALSE);
    m_help.SetTextFormat(DT_LEFT | DT_WORDBREAK, 12);
}

BOOL CCPTreeAtRecordSetting::LeavePage() {
    const int workCode = m_workCodeChoice.Value();
    const CString intervalText = FieldText(m_interval);
    const CString thresholdText = FieldText(m_threshold);
    LONG interval = 0;
    LONG threshold = 0;
    if (!ReadTypedNumber(intervalText, kLongestInterval, &interval)) {
        ShowMessage(Text(u"TAR0007", u"重复考勤时间间隔设置不正确,请重新设置!"), 0);
        return FALSE;
    }
    if (!ReadTypedNumber(thresholdText, kHighestThreshold, &threshold)) {
        ShowMessage(Text(u"TAR0008", u"记录报警閥值设置不正确,请重新设置!"), 0);
        return FALSE;
    }
    CMachineConfig& c = g_MachineConfig;
    CConfigChange change;
    WriteTypedNumber(u"REATTIMEGAP", intervalText, interval, c.REATTIMEGAP);
    WriteTypedNumber(u"WARNINGNUM", thresholdText, threshold, c.WARNINGNUM);
    m_workCodeChoice.Write(u"WORKCODE");
    // Not saved, the old values stay in force and show at the next entry.
    if (change.Save()) {
        c.REATTIMEGAP = interval;
        c.WARNINGNUM = threshold;
        c.WORKCODE = workCode;
    }
    return CRulePage::LeavePage();
}
