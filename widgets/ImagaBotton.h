// CImagaBotton: a transparent picture button (the control panel's icon grid,
// the user and fingerprint-enrolment pages). Over the captured page it draws
// its picture, a caption in a band at the bottom, an optional overlay picture
// that can blink, and, when selected, a selection frame under the picture.
//
// A tap reaches the page as the canvases' WM_COMMAND with code 0. The
// selection frames are shared by all picture buttons and live as long as
// one of them holds them.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"
#include "widgets/SkinImageCache.h"

class CImagaBotton : public CJHCanvas {
    DECLARE_DYNAMIC(CImagaBotton)

public:
    // The timer of the overlay's blinking and its period.
    static constexpr UINT_PTR kBlinkTimer = 12223;
    static constexpr UINT kBlinkPeriodMs = 500;

    CImagaBotton();

    // Loads the main picture from `path` as given (a PNG) and sizes the
    // window to it; a missing file gives an empty picture and a 0 x 0 window.
    void SetImage(CString path);
    // Loads the overlay picture (a PNG), drawn at (15, 18) over the main one,
    // and sizes the window to it.
    void SetOverlayImage(CString path);
    void ReleaseImage() { m_image.reset(); }
    const CxImage* GetImage() const { return m_image.get(); }
    // The main picture's size; -1 without one.
    int GetImageWidth() const;
    int GetImageHeight() const;

    // Stored only: the page repaints when it is ready.
    void SetSelected(bool selected) { m_selected = selected; }
    void SetCaption(CString caption) { m_caption = caption; }
    // Stores the caption and repaints at once.
    virtual void SetText(CString caption);
    // FALSE leaves only the page's picture under the button; repaints at once.
    void SetVisible(bool visible);
    // TRUE makes the overlay blink every 500 ms; FALSE stops it with the
    // overlay shown.
    void SetBlink(bool blink);

    // The window rectangle on the screen and its top-left corner in the
    // parent's client coordinates.
    void GetPosInParent(CRect& screenRect, CPoint& inParent, HWND parent) const;

    using CJHCanvas::CaptureBackground;
    BOOL CaptureBackground(CWnd* parent, CDC* dc) { return CJHCanvas::CaptureBackground(parent, dc, 1); }
    // Moves the button to (x, y) of the parent, keeping its size, and then
    // captures; the control panel lays out its grid this way from its erase.
    BOOL MoveAndCaptureBackground(CWnd* parent, CDC* dc, int x, int y, int show);
    BOOL MoveAndCaptureParentBackground(CWnd* parent, int x, int y);

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    void SizeWindowTo(const CxImage& image);
    void MoveKeepingSize(int x, int y);
    void Repaint();

    std::unique_ptr<CxImage> m_image;
    std::unique_ptr<CxImage> m_overlay;
    CString m_caption;
    bool m_selected = false;
    CFont m_captionFont;
    CFont m_smallCaptionFont;
    bool m_visible = true;
    // While true the overlay is left out.
    bool m_blinkPhase = false;
    SharedSkinImage m_wideFrame;
    SharedSkinImage m_smallFrame;
};
