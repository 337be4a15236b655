// CAutoFNDlg: the automatic attendance-status time table page (menu node
// 142). One of the sixteen zones of table AtuoFN at a time: the status it
// stands for and a start and an end time for each weekday. Set checks that
// each window's start is not after its end and that no window overlaps the
// same weekday's window of another zone, then updates the zone's row.
// Leaving stores nothing.
#pragma once

#include <array>

#include "panel/CPTreeBase.h"
#include "platform/ui/image.h"
#include "rules/WeekTimeGrid.h"
#include "widgets/JHSelectBox.h"

class CSqlStatement;

class CAutoFNDlg : public CCPTreeBase {
public:
    static constexpr UINT IDD = 177;
    static constexpr int kZoneSelectorId = 1262;
    static constexpr int kStatusSelectorId = 1378;
    static constexpr int kZones = 16;

    CAutoFNDlg();

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // The weekday names AFN001 to AFN007, the order refusal AFN008 and the
    // overlap refusal AFN009 (a format).
    enum TextIndex { kOrderRefusal = kWeekDays, kOverlapRefusal, kTextCount };

    void LoadTexts();
    void LayoutControls();
    void LoadStatusNames();
    void LoadZone(int zone);
    void RefreshControls();
    void ShowControls(int command);
    void OnSet();
    bool CheckZoneOverlap();
    bool CheckDayOrder(const CString& start, const CString& end, const CString& dayName, CLDDateCtrl& startPicker);
    // A stored window of the row as minutes since midnight.
    static void ReadRowTimes(CSqlStatement& row, int startColumn, int endColumn, int* start, int* end);
    LRESULT OnEditEnter(WPARAM id);
    LRESULT OnSBSelChange(WPARAM id);
    void Refuse(const CString& text, CWnd& focus);

    CxImage m_background;
    CJHSelectBox m_statusSelector;
    CJHSelectBox m_zoneSelector;
    CWeekTimeGrid m_grid;
    std::array<CString, kTextCount> m_texts;
    // The status shown when the page was entered: what a zone whose stored
    // status has no item shows.
    int m_entryStatus = 0;
};
