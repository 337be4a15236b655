// CRoundButton: a push button with a rounded black outline, a vertical
// white-to-tint gradient, and a two-colour frame that marks the finger
// resting on it (amber) or the focus (pale blue, with a dotted focus
// rectangle).
// Its caption is the window text in the window's font; a disabled button
// shows no caption.
#pragma once

#include "platform/ui/afxwin.h"

class CRoundButton : public CButton {
public:
    CRoundButton();

    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    // Fills `rect` with the gradient, one pixel row at a time.
    virtual void DrawBackground(CDC* dc, const CRect& rect);
    // The four edges of `rect` in the hover or the focus colours.
    virtual void DrawFrame(CDC* dc, const CRect& rect);

    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnMouseMove(UINT flags, CPoint point) override;
    UINT OnGetDlgCode() override;
    BOOL OnReflectedCommand(UINT notifyCode) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr int kEdges = 4;
    CPen m_outline;
    CPen m_hoverPens[kEdges];
    CPen m_focusPens[kEdges];
    CBrush m_hoverBrush;
    CBrush m_normalBrush;
    bool m_hover = false;
    bool m_tracking = false;
    bool m_focused = false;
    bool m_highlighted = false;
    bool m_default = false;
};
