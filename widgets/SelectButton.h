// CSelectButton: the skinned push button of the pages. Its face is built
// from three skin pieces (left cap, a centre stretched between the caps,
// right cap) over the captured page background, with the caption on it;
// the caption is light while the button has the focus.
//
// A tap reaches the parent as WM_COMMAND with code 0 (the canvas rule).
// Releasing Enter on the button, after its own key-down, sends the parent
// "EditEnter" with the control id; every Enter message addressed to the
// button is consumed, so the dialog never turns it into IDOK.
//
// A finger on the button changes nothing of its face.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CSelectButton : public CJHCanvas {
    DECLARE_DYNAMIC(CSelectButton)

public:
    CSelectButton();

    // The caption and its DrawText flags; no repaint (the page repaints).
    void SetText(CString text) { m_caption = text; }
    void SetTextFormat(UINT format) { m_format = format; }
    // Where the caption's left edge lies in the button (after the left
    // cap), how wide the caption's room is (between the caps) and how wide
    // a text is in the caption's font.
    int CaptionLeft() const { return m_left ? static_cast<int>(m_left->GetWidth()) : 0; }
    int CaptionRoom() const;
    int CaptionWidth(const CString& text);

    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;
    // The face, caption and page copy, drawn off-screen and copied to
    // `screen` (the paint DC) in one piece; nothing without the skin pieces.
    void PaintFace(CDC& screen);
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    std::unique_ptr<CxImage> m_left;
    std::unique_ptr<CxImage> m_right;
    std::unique_ptr<CxImage> m_centre;
    CString m_caption;
    bool m_focused = false;
    CFont m_font;
    UINT m_format = DT_SINGLELINE | DT_CENTER | DT_END_ELLIPSIS;
    bool m_enterPressed = false;
};
