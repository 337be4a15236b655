// CAutoFNDlg: the automatic attendance-status time table page (menu node
// 142). One of the sixteen zones of table AtuoFN at a time: the status it
// stands for and a start and an end time for each weekday. Set checks that
// each window's start is not after its end and that no window overlaps the
// same weekday's window of another zone, then updates the zone's row.
// Leaving stores nothing.
#pragma once

#include <array>

#include "rules/RulePage.h"
#include "rules/WeekTimeGrid.h"
#include "widgets/JHSelectBox.h"

class CSqlStatement;

class CAutoFNDlg : public CRulePage {
public:
    static constexpr UINT IDD = 177;
    static constexpr int kZoneSelectorId = 1262;
    static constexpr int kStatusSelectorId = 1378;
    static constexpr int kZones = 16;

    CAutoFNDlg();

    BOOL EnterPage() override;
    // F1's release sets; unlike the other rule pages, every F1 message then
    // goes on to the page base and the focused field.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    LRESULT OnEditEnter(UINT id) override;
    LRESULT OnSBSelChange(UINT id) override;
    void OnSet() override;

private:
    // The weekday names AFN001 to AFN007, the order refusal AFN008 and the
    // overlap refusal AFN009 (a format).
    enum TextIndex { kOrderRefusal = kWeekDays, kOverlapRefusal, kTextCount };

    void LoadTexts();
    void LayoutControls();
    void LoadStatusNames();
    void LoadZone(int zone);
    void RefreshControls();
    bool CheckZoneOverlap();
    bool CheckDayOrder(const CString& start, const CString& end, const CString& dayName, CLDDateCtrl& startPicker);
    // A stored window of the row as minutes since midnight.
    static void ReadRowTimes(CSqlStatement& row, int startColumn, int endColumn, int* start, int* end);

    CJHSelectBox m_statusSelector;
    CJHSelectBox m_zoneSelector;
    CWeekTimeGrid m_grid;
    std::array<CString, kTextCount> m_texts;
    // The status shown when the page was entered: what a zone whose stored
    // status has no item shows.
    int m_entryStatus = 0;
};
