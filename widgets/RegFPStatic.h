// CRegFPStatic: the finger indicator of the fingerprint-enrolment page, a
// small transparent widget over one finger of the page's hand picture. A
// finger with a template shows the enrolled image; the finger being
// enrolled shows the selected image over it, blinking every 400 ms while
// blinking is on (the enrolled image alone shows in the dark half).
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CRegFPStatic : public CJHCanvas {
    DECLARE_DYNAMIC(CRegFPStatic)

public:
    CRegFPStatic() = default;

    // Replaces both images, loaded as PNG from the paths as given.
    void SetImages(CString selectedPath, CString enrolledPath);
    void FreeImages();
    // Stores the caption and repaints at once (the picture shows the window
    // text).
    virtual void SetCaption(CString caption);
    // The flags change the picture only at the next repaint.
    virtual void SetSelected(bool selected) { m_selected = selected; }
    bool IsSelected() const { return m_selected; }
    void SetEnrolled(bool enrolled) { m_enrolled = enrolled; }
    bool IsEnrolled() const { return m_enrolled; }
    // Frees the images and clears every flag (the page does it on entry).
    void ResetState();
    // TRUE (re)starts the blinking; FALSE stops it and shows the selected
    // image steadily from the next paint.
    void SetBlink(bool blink);

    using CJHCanvas::CaptureBackground;
    BOOL CaptureBackground(CWnd* parent, CDC* dc) { return CJHCanvas::CaptureBackground(parent, dc, 1); }

protected:
    void OnPaint() override;
    void OnTimer(UINT_PTR id) override;

private:
    void Repaint();

    CString m_caption;
    std::unique_ptr<CxImage> m_selectedImage;
    std::unique_ptr<CxImage> m_enrolledImage;
    bool m_blinkOff = false;
    bool m_selected = false;
    bool m_enrolled = false;
};
