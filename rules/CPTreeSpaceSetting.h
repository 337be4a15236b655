// CCPTreeSpaceSetting: the access time zones page (menu node 165). One of
// the 32 weekly zones at a time: a zone selector, a start and an end time
// for each weekday, and Set, which stores the zone in the in-memory zone
// table (what the verification reads) and in table OpenDoorSpace. Leaving
// with times that differ from the stored ones asks, time by time, whether to
// stay and set them.
#pragma once

#include "rules/RulePage.h"
#include "rules/WeekTimeGrid.h"
#include "widgets/JHSelectBox.h"

class CCPTreeSpaceSetting : public CRulePage {
public:
    static constexpr UINT IDD = 161;
    static constexpr int kZoneSelectorId = 1262;
    // The selector's item for "no zone".
    static constexpr int kNoZone = 33;

    CCPTreeSpaceSetting();

    BOOL LeavePage() override;
    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    LRESULT OnSBSelChange(UINT id) override;
    void OnSet() override;

private:
    // The stored times of the zone, as the verification sees them.
    static WeekTimeTexts StoredTimes(int zone);

    CJHSelectBox m_zoneSelector;
    CWeekTimeGrid m_grid;
};
