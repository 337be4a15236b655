// CCPTreeBase: the base of every control-panel page. The control panel
// constructs a page once, creates its window on the first visit, calls
// EnterPage on every visit and LeavePage when the user leaves (ESC). A page
// that overrides them loads its values before calling the base EnterPage,
// and validates and stores before calling the base LeavePage; a LeavePage
// that returns FALSE keeps the page shown.
#pragma once

#include "platform/ui/afxwin.h"

// Sent by a leaving page to its control panel: wParam = the page.
#define WM_PAGELEAVE (WM_USER + 102)

// 1 while the control panel shows its menu grid, 3 while a page is shown.
extern int g_nControlPanelState;

enum : int { ControlPanelShowsMenu = 1, ControlPanelShowsPage = 3 };

inline bool IsKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP;
}

class CCPTreeBase : public CDialog {
    DECLARE_DYNAMIC(CCPTreeBase)

public:
    CCPTreeBase(UINT nIDTemplate, CWnd* pParent);

    static const CRuntimeClass* GetThisClass() { return RUNTIME_CLASS(CCPTreeBase); }

    // Creates the page window from the kept template as a child of `parent`.
    virtual BOOL Create(CWnd* parent);

    // What the Enter key (or a page's own button) does on the page.
    virtual void OnPageAction() {}
    virtual BOOL LeavePage();
    virtual BOOL EnterPage();

    void SetLock(BOOL lock) { m_bLocked = static_cast<BYTE>(lock ? 1 : 0); }

    BOOL PreTranslateMessage(MSG* msg) override;

    // LeavePage refuses while set.
    BYTE m_bLocked = 0;
    // Cleared by EnterPage; pages set it when they must repaint everything.
    BYTE m_bRedraw = 0;
    // 1 when the page is entered from the menu (or by a forward jump). A
    // page that hands the user back to the page that called it clears the
    // caller's byte first, so the caller's EnterPage knows it is a return,
    // keeps its state and sets the byte again.
    BYTE m_bEnteredFromMenu = 1;
    // 1 while the page is not shown.
    BYTE m_bHidden = 1;

protected:
    // Enter and ESC never end a page.
    void OnOK() override {}
    void OnCancel() override {}

private:
    using CDialog::Create;
    // The page's template made a child window's, whatever style it was given.
    DialogTemplate m_childTemplate{};
};
