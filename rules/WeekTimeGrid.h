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
#include <vector>

#include "platform/ui/afxwin.h"
#include "platform/ui/dialog.h"
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


    // Template items: the eight labels; the fourteen pickers and the button
    // (tab stops, in focus order, after the page's selectors).
    static std::vector<DialogItemTemplate> LabelItems();
    static std::vector<DialogItemTemplate> PickerAndButtonItems();

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

    // A tap on the Set button, as the page's WM_COMMAND gives it.
    static bool IsSetClick(WPARAM wParam) { return LOWORD(wParam) == kSetButtonId && HIWORD(wParam) == 0; }

    CLDDateCtrl& Picker(int column) { return m_pickers[column]; }
    CLDDateCtrl& StartPicker(int day) { return m_pickers[2 * day]; }
    CSelectButton& SetButton() { return m_setButton; }

    // Page appearance: hide or show every widget, mark each for a fresh
    // background copy, and take the copies in the page's erase.
    void ShowAll(int command);
    void MarkForCapture();
    void Capture(CWnd* page, CDC* dc);

private:
    std::array<CFontStatic, kWeekDays + 1> m_labels;  // zone number, Monday to Sunday
    std::array<CLDDateCtrl, kWeekTimes> m_pickers;
    CSelectButton m_setButton;
};
