// The software update page (menu node 136): the program files and the
// control panel's icons installed from the update folder of a USB disk,
// after which the I/O controller restarts the terminal on them.
#pragma once

#include <string>
#include <vector>

#include "panel/CPTreeBase.h"
#include "transfer/PageLook.h"
#include "transfer/UpdateFolder.h"
#include "widgets/FontStatic.h"
#include "widgets/PogressBar.h"
#include "widgets/SelectButton.h"

class CUpdateDlg : public CCPTreeBase {
public:
    enum : UINT { IDD = 180 };
    enum : int { IDC_PROGRESS = 1220, IDC_UPDATE = 1217, IDC_LABEL = 1221 };

    CUpdateDlg();

    BOOL EnterPage() override;
    BOOL LeavePage() override;

    // The host paths of the files an update replaces that are there now.
    static std::vector<std::string> UpdatedFiles();
    CPogressBar& ProgressBar() { return m_progress; }

protected:
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LayoutControls();
    void OnUpdate();

    CPogressBar m_progress;
    CSelectButton m_button;
    CFontStatic m_label;
    CPageLook m_look;
};
