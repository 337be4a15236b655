// The frame the control panel's screens share: a dialog over the main
// screen that leaves the main window's bottom task bar in sight, the page
// background of the skin and the title bar across its top.
#pragma once

#include "platform/ui/image.h"
#include "widgets/StaicTitle.h"

class CPanelScreen : public CDialog {
public:
    using CDialog::CDialog;

    const CStaicTitle& Title() const { return m_title; }

protected:
    // The title bar's control id: a child window the screen makes itself.
    static constexpr UINT kTitleBarId = 12346;

    // From OnInitDialog: sizes the screen and makes the title bar across
    // its top.
    void SetUpScreen();
    void ShowTitle(const CString& title);
    // From WM_ERASEBKGND: the background, and the title bar's copy of it.
    void PaintBackground(CDC* dc);
    // The room below the title bar.
    CRect BodyRect() const;

    CStaicTitle m_title;

private:
    CxImage m_background;
};
