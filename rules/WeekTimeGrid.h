// The rows that the access time zone page and the automatic attendance-
// status page share: the zone-number label, for each weekday a label with a
// start and an end time picker, and the Set button, with their texts (of
// "CCPTreeSpaceSetting") and their places. The pickers run in time mode;
// only their hour and minute fields are read and written.
//
// Picker (column) k is the k-th time of a zone row: Monday start, Monday
// end, Tuesday start, ..., Sunday end.
#pragma once

#include <array>
#include <initializer_list>
#include <vector>

#include "platform/ui/afxwin.h"
#include "platform/ui/dialog.h"
#include "rules/RulePage.h"
#include "widgets/FontStatic.h"
#include "widgets/LDDateCtrl.h"

class CDataExchange;

constexpr int kWeekDays = 7;
constexpr int kWeekTimes = 2 * kWeekDays;
using WeekTimeTexts = std::array<CString, kWeekTimes>;

class CWeekTimeGrid {
public:
    static constexpr int kZoneLabelId = 1261;
    static constexpr int kFirstDayLabelId = 1263;
    static constexpr int kFirstPickerId = 1124;
    static constexpr int kSetButtonId = 1270;
    static constexpr LPCWSTR kSection = u"CCPTreeSpaceSetting";

    // The page's template items: the eight labels, then the page's select
    // boxes `selectorIds`, the fourteen pickers and the button (tab stops,
    // in focus order).
    static std::vector<DialogItemTemplate> PageItems(std::initializer_list<int> selectorIds);

    // Switches the pickers to time mode, then binds every control.
    void Bind(CDataExchange* dx);
    // The zone-number label, the weekday labels and the Set caption.
    void LoadTexts();
    void Layout();

    // Every picker field "00", repainted at once.
    void Clear();
    void ShowTimes(const WeekTimeTexts& texts);
    WeekTimeTexts PickerTexts() const;
    void RepaintPickers();

    CLDDateCtrl& StartPicker(int day) { return m_pickers[2 * day]; }

    // Registers every widget with the page, for the page's background
    // copies.
    void AddTo(CRulePage& page);
    // Asks whether to set the zone shown (TSS0010); true on Yes.
    static bool ConfirmSet();

private:
    std::array<CFontStatic, kWeekDays + 1> m_labels;  // zone number, Monday to Sunday
    std::array<CLDDateCtrl, kWeekTimes> m_pickers;
    CSelectButton m_setButton;
};
