// CJHFPShow: the picture frame of the main screen, which the enrolment page
// reuses to show each press. In mode 1 it shows the 8-bit fingerprint image
// its image fields point to, stretched over the frame, through the grey
// palette. Modes 2-7 are the main screen's own pictures; mode 0 shows
// nothing but the page under the frame.
#pragma once

#include "widgets/JHCanvas.h"

class CJHFPShow : public CJHCanvas {
    DECLARE_DYNAMIC(CJHFPShow)

public:
    enum : int { kModeNothing = 0, kModeFingerprint = 1 };

    CJHFPShow() = default;

    // TRUE: hidden flag set, mode 0, window hidden. FALSE: flag cleared,
    // window shown.
    void SetHidden(BOOL hidden);
    BOOL IsHidden() const { return m_bHidden; }

    using CJHCanvas::CaptureBackground;

    // The image shown in mode 1; the owner keeps the pixels alive and sets
    // the geometry they have. A geometry larger than a capture buffer or
    // empty shows nothing.
    const BYTE* m_pImage = nullptr;
    int m_nImageWidth = 0;
    int m_nImageHeight = 0;
    int m_nMode = kModeNothing;

protected:
    void OnPaint() override;

private:
    bool HasFingerprint() const;

    BOOL m_bHidden = FALSE;
};
