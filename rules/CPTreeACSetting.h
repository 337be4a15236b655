// CCPTreeACSetting: the door hardware after a pass and the Wiegand output:
// relay mode, Wiegand format, the I/O controller's two alarm checks, the
// fixed facility code and the lock delay. Nothing is stored until the page
// is left; a leave with a wrong number stays on the page.
#pragma once

#include "rules/RulePage.h"
#include "rules/StoredChoice.h"
#include "widgets/JHKeyEdit.h"
#include "widgets/JHSelectBox.h"

class CCPTreeACSetting : public CRulePage {
public:
    static constexpr UINT IDD = 163;
    CCPTreeACSetting();

    BOOL LeavePage() override;
    BOOL EnterPage() override;

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;

private:
    void FillSelectors();
    void LayoutControls();

    CJHSelectBox m_relayMode;
    CJHSelectBox m_wiegandMode;
    CJHSelectBox m_tamperCheck;
    CJHSelectBox m_doorSensorCheck;
    CStoredChoice m_relayModeChoice{m_relayMode};
    CStoredChoice m_wiegandModeChoice{m_wiegandMode};
    CStoredChoice m_tamperChoice{m_tamperCheck};
    CStoredChoice m_doorSensorChoice{m_doorSensorCheck};
    CFontStatic m_labels[6];
    CFontStatic m_note;
    CJHKeyEdit m_facilityCode;
    CJHKeyEdit m_lockDelay;
};
