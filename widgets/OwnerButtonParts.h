// What the owner-drawn buttons of the toolkit (the image button CJHButton
// and the icon button COwnerDrawButton) have in common: their six colours,
// toggle mode, how they take over the drawing of a BUTTON control, and
// their caption.
#pragma once

#include "platform/ui/afxwin.h"

// Answers of the colour setters.
inline constexpr DWORD kButtonOk = 0;
inline constexpr DWORD kButtonInvalidIndex = 3;
inline constexpr DWORD kButtonInvalidValue = 4;

// Six colours: 0 background and 1 text while pressed or under the pointer,
// 2 background and 3 text otherwise, 4 background and 5 text when focused.
// Even indexes default to the button face, odd ones to the button text.
class CButtonColors {
public:
    static constexpr int kCount = 6;
    CButtonColors() { SetDefaults(); }

    void SetDefaults();
    // kButtonOk, or kButtonInvalidIndex (nothing changed) for an index >= 6.
    DWORD Set(BYTE index, COLORREF color);
    DWORD Get(BYTE index, COLORREF* color) const;
    COLORREF operator[](int index) const { return m_colors[index]; }

private:
    COLORREF m_colors[kCount];
};

// The button kind a BUTTON control had before it was made owner-drawn.
struct OwnerDrawnKind {
    UINT type = 0;           // the style's low five bits; a default push button counts as a push button
    bool toggle = false;     // a check-box style: the button keeps a check state
    bool wasDefault = false; // it was a default push button
};

// Reads the kind from the window's style and turns the control into an
// owner-drawn button (its type bits replaced by BS_OWNERDRAW, frame changed).
OwnerDrawnKind TakeOverButtonDrawing(CWnd* button);

// The base of both: a BUTTON control drawn by its object, with six colours
// and, when it was made with a check-box style, a check state of its own.
class COwnerButtonBase : public CButton {
public:
    // Toggle mode only; 0.
    DWORD SetCheck(BOOL check, BOOL repaint = TRUE);
    BOOL GetCheck() const { return m_checked; }

    DWORD SetColor(BYTE index, COLORREF color, BOOL repaint = TRUE);
    DWORD GetColor(BYTE index, COLORREF* color) const { return m_colors.Get(index, color); }
    DWORD SetDefaultColors(BOOL repaint = TRUE);

protected:
    // Takes over the drawing (see TakeOverButtonDrawing) and notes toggle mode.
    OwnerDrawnKind TakeOverDrawing();
    // A toggle button shows pressed while it is checked.
    bool IsPressed(UINT itemState) const;
    // Invalidates when `repaint` is set and the window exists.
    void Repaint(BOOL repaint);
    // The text is drawn transparently over the button's own face.
    HBRUSH CtlColor(CDC* dc, UINT ctlColor) override;

    bool m_toggle = false;
    BOOL m_checked = FALSE;
    CButtonColors m_colors;
};

// The window text, at most 256 characters.
CString ButtonCaption(const CWnd* button);

// The caption centred in `area` (word-wrapped, centred lines), moved by one
// pixel right and down when `shifted`. A disabled caption is embossed: the
// highlight colour one pixel right and down, the shadow colour in place.
void DrawButtonCaption(CDC& dc, const CString& caption, CRect area, bool shifted, bool disabled, COLORREF text,
                       COLORREF background);
