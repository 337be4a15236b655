#include "widgets/WidgetRules.h"

#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "core/ShowMessage.h"

COLORREF WidgetPanelColor() { return static_cast<COLORREF>(g_MachineConfig.PANELCOLOR); }

UINT EditEnterMessage() {
    static const UINT message = RegisterWindowMessageW(u"EditEnter");
    return message;
}

UINT SelChangeMessage() {
    static const UINT message = RegisterWindowMessageW(u"SBSELChange");
    return message;
}

void PlaceUnderSiblings(CWnd& widget) {
    ::SetWindowPos(widget.GetSafeHwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void SendTaskBarHint(const CString& hint, int mode) {
    CWnd* main = AfxGetMainWnd();
    if (main == nullptr || main->m_hWnd == nullptr) return;
    CString text = hint;  // lives for the duration of the call
    main->SendMessage(WM_TASKBARHINT, reinterpret_cast<WPARAM>(&text), static_cast<LPARAM>(mode));
}

CString SkinPath(const char16_t* relative) { return g_MachineConfig.SkinDir.Get() + relative; }

BOOL MakeWidgetFont(CFont& font, const WidgetFontSpec& traditional, const WidgetFontSpec& other,
                    bool reportFailure) {
    const WidgetFontSpec& spec = IsFtLanguage() ? traditional : other;
    const BOOL made = font.CreateFont(spec.height, 0, 0, 0, spec.weight, 0, 0, 0, spec.charSet, 0, 0, spec.quality,
                                      0x20, spec.face);
    if (!made && reportFailure) ShowMessage(u"Load Font fail!", 0);
    return made;
}
