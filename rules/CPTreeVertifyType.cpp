#include "rules/CPTreeVertifyType.h"

#include "core/ConfigChange.h"
#include "core/ConfigXml.h"
#include "core/DateTexts.h"
#include "core/MachineConfig.h"
#include "platform/ui/dialog.h"
#include "rules/SelectorRows.h"

namespace {

// Controls by row: fingerprint, card, user ID.
constexpr int kBoxIds[] = {1190, 1191, 1109};
constexpr int kTitleIds[] = {1188, 1189, 1076};
constexpr int kPlusIds[] = {1077, 1079, 1080};
constexpr int kTrailingIds[] = {1082, 1081, 1083};
constexpr int kHelpId = 1167;
constexpr int kRowTops[] = {8, 33, 58};
constexpr int kRowHeight = 17;
// The trailing labels reach past the screen's right edge, which leaves them
// 50 pixels: less than the four Chinese characters of the "passes at once"
// text take, so they fit it.
constexpr int kTrailingX = 270;
constexpr int kTrailingWidth = 145;

// Posted to the page after its entry's own selections: the notices queued
// before it are the entry's, those after it the administrator's.
constexpr UINT kWatchChanges = WM_APP + 153;

std::vector<DialogItemTemplate> Items() {
    const char16_t* titles[] = {u"首次比对指纹", u"首次卡通过后", u"首次PIN通过"};
    std::vector<DialogItemTemplate> items;
    for (int row = 0; row < 3; ++row) {
        const int top = kRowTops[row];
        items.push_back({kTitleIds[row], u"STATIC", titles[row], 0, 7, top, 90, kRowHeight});
        items.push_back({kPlusIds[row], u"STATIC", u"+", 0, 102, top, 10, kRowHeight});
        items.push_back({kBoxIds[row], u"STATIC", u"", WS_TABSTOP, 120, top, 145, kRowHeight});
        items.push_back({kTrailingIds[row], u"STATIC", u"通过", 0, kTrailingX, top, kTrailingWidth, kRowHeight});
    }
    items.push_back({kHelpId, u"STATIC", u"", 0, 10, 93, 300, 172});
    return items;
}

const DialogTemplate kTemplate{CCPTreeVertifyType::IDD, WS_CHILD, 0, 0, 320, 194, u"", Items()};
const DialogTemplateEntry kTemplateEntry(kTemplate);

}  // namespace

CCPTreeVertifyType::CCPTreeVertifyType() : CRulePage(IDD, u"CCPTreeVertifyType") {}

void CCPTreeVertifyType::DoDataExchange(CDataExchange* dx) {
    CRulePage::DoDataExchange(dx);
    for (int row = 0; row < kRows; ++row) DDX_Control(dx, kBoxIds[row], m_boxes[row]);
    for (int row = 0; row < kRows; ++row) DDX_Control(dx, kTitleIds[row], m_titles[row]);
    DDX_Control(dx, kHelpId, m_help);
    for (int row = 0; row < kRows; ++row) DDX_Control(dx, kPlusIds[row], m_plus[row]);
    for (int row = 0; row < kRows; ++row) DDX_Control(dx, kTrailingIds[row], m_trailing[row]);
}

BOOL CCPTreeVertifyType::OnInitDialog() {
    CRulePage::OnInitDialog();
    m_titles[0].SetWindowText(Text(u"VF0001", u""));
    m_titles[1].SetWindowText(Text(u"VF0002", u""));
    m_titles[2].SetWindowText(Text(u"VF0003", u""));
    m_help.SetWindowText(Text(u"VF0004", u""));
    m_refused = Text(u"VF0005", u"失败");
    m_password = Text(u"VF0006", u"密码验证");
    m_finger = Text(u"VF0007", u"指纹验证");
    m_fingerAndPassword = Text(u"VF0008", u"指纹+密码");
    m_passes = Text(u"VF0009", u"直接通过");
    m_card = Text(u"VF0010", u"卡验证");
    for (int row = 0; row < kRows; ++row) {
        AddCanvas(m_boxes[row]);
        AddLabel(m_titles[row]);
        AddLabel(m_plus[row]);
        AddLabel(m_trailing[row]);
        m_trailing[row].FitText(true);
    }
    AddLabel(m_help);
    return TRUE;
}

void CCPTreeVertifyType::FillOptionLists() {
    FillSelector(m_boxes[0], {{m_refused, 0}, {m_password, 1}, {m_card, 2}, {m_passes, 3}});
    for (int row = 1; row < kRows; ++row)
        FillSelector(m_boxes[row],
                     {{m_refused, 0}, {m_password, 1}, {m_finger, 2}, {m_fingerAndPassword, 3}, {m_passes, 7}});
}

BOOL CCPTreeVertifyType::EnterPage() {
    FillOptionLists();
    const BYTE code = static_cast<BYTE>(g_MachineConfig.VERTIFYTYPE);
    m_stored[0] = static_cast<int>(GetVerifyTypeHigh(code));
    m_stored[1] = static_cast<int>(GetVerifyTypeMid(code));
    m_stored[2] = static_cast<int>(GetVerifyTypeLow(code));
    for (int row = 0; row < kRows; ++row) {
        m_storedShown[row] = m_boxes[row].SetCurSelByValue(m_stored[row]) != FALSE;
        m_touched[row] = false;
        UpdateTrailingLabel(row);
        m_plus[row].SetWindowText(u"+");
    }
    m_watching = false;
    PostMessage(kWatchChanges);
    LayoutControls();
    HideForCapture();
    const BOOL entered = CRulePage::EnterPage();
    m_boxes[0].SetFocus();
    return entered;
}

void CCPTreeVertifyType::LayoutControls() {
    for (int row = 0; row < kRows; ++row) {
        PlaceRow(*this, kRowTops[row], kRowHeight,
                 {{kTitleIds[row], 7, 90}, {kPlusIds[row], 102, 10}, {kBoxIds[row], 120, 145},
                  {kTrailingIds[row], kTrailingX, kTrailingWidth}});
    }
    m_help.MoveWindow(10, 93, 300, 172, FALSE);
    m_help.SetTextFormat(DT_LEFT | DT_WORDBREAK, 12);
}

void CCPTreeVertifyType::UpdateTrailingLabel(int row) {
    const int value = m_boxes[row].GetCurSelValue();
    const int passes = row == 0 ? 3 : 7;
    m_trailing[row].SetWindowText(value != 0 && value != passes ? m_passes : CString());
}

int CCPTreeVertifyType::RowOf(UINT id) const {
    for (int row = 0; row < kRows; ++row)
        if (kBoxIds[row] == static_cast<int>(id)) return row;
    return -1;
}

LRESULT CCPTreeVertifyType::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kWatchChanges) {
        m_watching = true;
        return 0;
    }
    return CRulePage::WindowProc(message, wParam, lParam);
}

LRESULT CCPTreeVertifyType::OnSBSelChange(UINT id) {
    const int row = RowOf(id);
    if (row < 0) return 1;
    if (m_watching) m_touched[row] = true;
    UpdateTrailingLabel(row);
    return 1;
}

int CCPTreeVertifyType::RowValue(int row) const {
    if (!m_storedShown[row] && !m_touched[row]) return m_stored[row];
    return static_cast<BYTE>(m_boxes[row].GetCurSelValue());
}

BOOL CCPTreeVertifyType::LeavePage() {
    const BYTE code = static_cast<BYTE>(PackVerifyType(RowValue(0), RowValue(1), RowValue(2)));
    // Compared with the whole stored number: one beyond a byte is written
    // back as the byte the rows show.
    if (code != g_MachineConfig.VERTIFYTYPE) {
        CConfigChange change;
        CString text;
        text.Format(u"%d", code);
        SetConfigValue(u"VERTIFYTYPE", text, FALSE);
        if (change.Save()) g_MachineConfig.VERTIFYTYPE = code;
    }
    return CRulePage::LeavePage();
}
