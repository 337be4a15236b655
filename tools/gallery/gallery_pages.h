// The gallery page, its modal dialog and what every gallery page shares.
//
// The page shows Latin and Chinese text in statics, push buttons (one
// disabled), an owner-drawn button, a check box, radio buttons and a group
// box over a painted background. "Dialog..." opens the modal dialog; its
// answer appears in the status line. The tap counter counts taps on itself.
#pragma once

#include "platform/ui/afxwin.h"

enum GalleryIds : int {
    kGalleryTitle = 1000,
    kGalleryLatin,
    kGalleryChinese,
    kGalleryCounter,
    kGalleryStatus,
    kGalleryOpenDialog,
    kGalleryDisabled,
    kGallerySwatch,
    kGalleryCheck,
    kGalleryRadioOne,
    kGalleryRadioTwo,
    kGalleryGroup,
    kGalleryGroupText,
    kGalleryMessage,
};

// The gallery's font, and giving it to every child of a page.
void MakeFont(CFont& font);
void SetFontOnChildren(CWnd* parent, CFont* font);
// Statics draw their text straight over the painted background (nullptr
// for the other controls).
HBRUSH TransparentStatic(CDC* dc, UINT ctlColor);

// An owner-drawn button: a coloured face, darker while pushed, a dashed
// frame while focused.
class CSwatchButton : public CButton {
public:
    void DrawItem(LPDRAWITEMSTRUCT item) override;
};

class CGalleryDialog : public CDialog {
public:
    explicit CGalleryDialog(CWnd* parent);
    BOOL OnInitDialog() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;

private:
    CFont m_font;
};

// What every gallery page is: a full-screen modeless dialog in the gallery's
// font whose statics are drawn over the page's own background.
class CGalleryPageBase : public CDialog {
public:
    explicit CGalleryPageBase(UINT templateId);
    // The page as a visible full-screen modeless dialog.
    BOOL CreatePage();

    BOOL OnInitDialog() override;
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) override;
    // Enter and Esc do not close the page.
    void OnOK() override {}
    void OnCancel() override {}

protected:
    void SetLabel(int id, LPCTSTR text);

private:
    UINT m_templateId;
    CFont m_font;
};

class CGalleryPage : public CGalleryPageBase {
public:
    CGalleryPage();

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CSwatchButton m_swatch;
    int m_taps = 0;
};
