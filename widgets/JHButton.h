// CJHButton: an owner-drawn image button over the captured page background.
// Four images, each stretched to the button: 0 normal, 1 pressed, 2 disabled
// while not pressed in toggle mode, 3 focused (and disabled). A caption is
// drawn over the image outside toggle mode; an optional dashed green frame
// marks the button a dialog's keys currently point at (ToggleFocusFrame).
//
// A button made with a check-box style works in toggle mode: a tap flips its
// check state and the checked button shows as pressed.
//
// Without a copy of the page (or a solid background) the images are drawn
// over what the screen shows under the button.
//
// Being no canvas, it holds its own copy of the page's pixels under it and
// takes part in the page protocol of JHCanvas.h with the same operations.
#pragma once

#include "widgets/BackgroundCapture.h"
#include "widgets/ImageSlots.h"
#include "widgets/OwnerButtonParts.h"

class CJHButton : public CCapturingWnd<COwnerButtonBase> {
    DECLARE_DYNAMIC(CJHButton)

public:
    static constexpr int kImageCount = CImageSlots::kCount;
    enum ImageSlot { kNormal = 0, kPressed = 1, kToggleDisabled = 2, kFocused = 3 };

    CJHButton() = default;

    // Loads `path` as PNG into the slot; the button owns the image. FALSE
    // for an index outside 0 to 3.
    BOOL SetImageFile(int index, CString path);
    // The caller's image in the slot; it must outlive the button's use of it.
    BOOL SetImage(int index, CxImage* image);

    // 0 or 1; 4 for other values, which are not stored.
    DWORD SetUserState(BYTE state, BOOL repaint = TRUE);
    BYTE GetUserState() const { return m_userState; }

    // Draws image `index` (0 to 3) whatever the state; any other value
    // goes back to the state's image.
    void SetForcedImage(int index);
    // A solid colour instead of the captured background; no repaint.
    void SetSolidBackground(BOOL solid, COLORREF color);

    void ToggleFocusFrame();
    BOOL HasFocusFrame() const { return m_focusFrame; }

    void DrawItem(LPDRAWITEMSTRUCT item) override;

protected:
    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
    void OnLButtonDown(UINT flags, CPoint point) override;

private:
    const CxImage* ImageToDraw() const;

    CImageSlots m_images;
    bool m_solid = false;
    COLORREF m_solidColor = 0;
    BYTE m_userState = 0;
    bool m_pressed = false;
    bool m_focused = false;
    bool m_disabled = false;
    int m_forcedImage = -1;
    bool m_focusFrame = false;
};
