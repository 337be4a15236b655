#include "rules/WeekTimeGrid.h"

#include "core/LangText.h"
#include "platform/ui/ddx.h"
#include "rules/LeaveQuestions.h"
#include "rules/ZoneTimes.h"

namespace {

constexpr int kRowTop[kWeekDays] = {21, 43, 65, 87, 109, 131, 153};
constexpr int kRowHeight = 23;
constexpr int kSundayHeight = 21;
constexpr int kColumnWidth = 100;
constexpr int kLabelX = 5;
constexpr int kStartX = 110;
constexpr int kEndX = 215;

struct LabelText {
    LPCWSTR key;
    LPCWSTR defaultText;
};
constexpr LabelText kLabelTexts[kWeekDays + 1] = {
    {u"TSS0001", u"时间段编号"},     {u"TSS0002", u"星期一起止时间"}, {u"TSS0003", u"星期二起止时间"},
    {u"TSS0004", u"星期三起止时间"}, {u"TSS0005", u"星期四起止时间"}, {u"TSS0006", u"星期五起止时间"},
    {u"TSS0007", u"星期六起止时间"}, {u"TSS0008", u"星期日起止时间"}};

int LabelId(int index) {
    return index == 0 ? CWeekTimeGrid::kZoneLabelId : CWeekTimeGrid::kFirstDayLabelId + index - 1;
}

}  // namespace

std::vector<DialogItemTemplate> CWeekTimeGrid::PageItems(std::initializer_list<int> selectorIds) {
    std::vector<DialogItemTemplate> items;
    for (int i = 0; i <= kWeekDays; ++i) items.push_back({LabelId(i), u"STATIC", u"", 0, 0, 0, 10, 10});
    for (int id : selectorIds) items.push_back({id, u"STATIC", u"", WS_TABSTOP, 0, 0, 10, 10});
    for (int k = 0; k < kWeekTimes; ++k)
        items.push_back({kFirstPickerId + k, u"STATIC", u"", WS_TABSTOP, 0, 0, 10, 10});
    items.push_back({kSetButtonId, u"STATIC", u"", WS_TABSTOP, 0, 0, 10, 10});
    return items;
}

void CWeekTimeGrid::Bind(CDataExchange* dx) {
    for (CLDDateCtrl& picker : m_pickers) picker.SetDateMode(false);
    for (int i = 0; i <= kWeekDays; ++i) DDX_Control(dx, LabelId(i), m_labels[i]);
    for (int k = 0; k < kWeekTimes; ++k) DDX_Control(dx, kFirstPickerId + k, m_pickers[k]);
    DDX_Control(dx, kSetButtonId, m_setButton);
}

void CWeekTimeGrid::LoadTexts() {
    CString text;
    for (int i = 0; i <= kWeekDays; ++i) {
        GetLangText(kSection, kLabelTexts[i].key, kLabelTexts[i].defaultText, text);
        m_labels[i].SetWindowText(text);
    }
    GetLangText(kSection, u"TSS0009", u"设置", text);
    m_setButton.SetText(text);
}

void CWeekTimeGrid::Layout() {
    m_labels[0].MoveWindow(kLabelX, 1, kColumnWidth, kRowHeight);
    for (int day = 0; day < kWeekDays; ++day) {
        const int height = day == kWeekDays - 1 ? kSundayHeight : kRowHeight;
        m_labels[day + 1].MoveWindow(kLabelX, kRowTop[day], kColumnWidth, kRowHeight);
        m_pickers[2 * day].MoveWindow(kStartX, kRowTop[day], kColumnWidth, height);
        m_pickers[2 * day + 1].MoveWindow(kEndX, kRowTop[day], kColumnWidth, height);
    }
    m_setButton.MoveWindow(kLabelX, 174, 310, kRowHeight);
    // The zone label reaches 3 pixels into Monday's row, below its own
    // text: Monday's label lies over it, not under it.
    m_labels[0].SetWindowPos(&m_labels[1], 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CWeekTimeGrid::Clear() {
    for (CLDDateCtrl& picker : m_pickers) picker.Clear();
}

void CWeekTimeGrid::ShowTimes(const WeekTimeTexts& texts) {
    for (int k = 0; k < kWeekTimes; ++k) ShowStoredTime(m_pickers[k], texts[k]);
}

WeekTimeTexts CWeekTimeGrid::PickerTexts() const {
    WeekTimeTexts texts;
    for (int k = 0; k < kWeekTimes; ++k) texts[k] = PickerTimeText(m_pickers[k]);
    return texts;
}

void CWeekTimeGrid::RepaintPickers() {
    for (CLDDateCtrl& picker : m_pickers) {
        picker.Invalidate(TRUE);
        picker.UpdateWindow();
    }
}

void CWeekTimeGrid::AddTo(CRulePage& page) {
    for (CFontStatic& label : m_labels) page.AddLabel(label);
    for (CLDDateCtrl& picker : m_pickers) page.AddCanvas(picker);
    page.AddCanvas(m_setButton);
}

bool CWeekTimeGrid::ConfirmSet() {
    CString question;
    GetLangText(kSection, u"TSS0010", u"确定设置该时间段吗?", question);
    return AskYesNo(question);
}
