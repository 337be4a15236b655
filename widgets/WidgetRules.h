// The rules every skinned widget follows.
//
// Painting. A transparent widget never erases: its parent (the page) paints
// its skin background in WM_ERASEBKGND and then lets each widget copy the
// pixels under it (CJHCanvas::CaptureBackground, see JHCanvas.h). The widget
// paints that copy first, then its content, as a rule into an off-screen
// bitmap that is copied to the screen in one BitBlt. The copy is taken once
// per page appearance: pages call SetNeedCapture(TRUE) whenever they are
// entered or shown again.
//
// Notifications to the parent:
//   "EditEnter"  (EditEnterMessage)   SendMessage, wParam = control id, lParam 0
//   "SBSELChange" (SelChangeMessage)  PostMessage, wParam = control id, lParam 0
//   WM_COMMAND code 0 (STN_CLICKED)   a tap on any CJHCanvas widget (SS_NOTIFY)
//   WM_TASKBARHINT                    SendMessage to the main window, wParam =
//                                     CString* hint text, lParam = 1 show it,
//                                     -1 restore the previous hint
//
// Fonts. Each widget makes its own font in its constructor from a pair of
// WidgetFontSpec (traditional-Chinese UI, other UI) with MakeWidgetFont; a
// font that cannot be made is reported once with "Load Font fail!".
//
// Images. Skin files are SkinPath(relative): the SKIN folder joined with a
// path relative to it by plain concatenation. An image that many instances
// of a class draw is held through AcquireSkinImage (SkinImageCache.h): it is
// loaded by the first user and freed with the last one.
#pragma once

#include "platform/base/CString.h"
#include "platform/ui/afxwin.h"

#define WM_TASKBARHINT (WM_USER + 101)

// Colours (COLORREF) shared by the widgets.
inline constexpr COLORREF kWidgetDarkText = 0x492906;
inline constexpr COLORREF kWidgetLightText = 0xDFDFDF;
// The face colour of plain buttons: the PANELCOLOR setting.
COLORREF WidgetPanelColor();

UINT EditEnterMessage();
UINT SelChangeMessage();

// The main window's bottom task bar: mode 1 shows `hint`, -1 restores the
// previous one. Nothing happens without a main window.
void SendTaskBarHint(const CString& hint, int mode);

// Puts `widget` below its sibling controls. Where a page's geometry makes a
// decoration (a label, a title line) overlap a control by a few pixels,
// the control is then drawn over it whichever of the two paints last.
void PlaceUnderSiblings(CWnd& widget);

// The skin folder (application directory + "Skin\" + SKIN + "\") + `relative`.
CString SkinPath(const char16_t* relative);

struct WidgetFontSpec {
    const char16_t* face;
    int height;
    int weight;
    BYTE charSet;
    BYTE quality;
};

// Creates `font` by the UI language (`traditional` while IsFtLanguage, the
// language file's "ft" switch, is on); `reportFailure` shows "Load Font fail!"
// in a one-button message box when the font cannot be made. FALSE then.
BOOL MakeWidgetFont(CFont& font, const WidgetFontSpec& traditional, const WidgetFontSpec& other,
                    bool reportFailure = true);
