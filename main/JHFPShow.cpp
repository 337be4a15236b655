#include "main/JHFPShow.h"

#include "main/FingerCapture.h"
#include "main/GreyImage.h"
#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CJHFPShow, CJHCanvas)

void CJHFPShow::SetHidden(BOOL hidden) {
    if (!hidden) {
        m_bHidden = FALSE;
        ShowWindow(SW_SHOW);
        return;
    }
    m_bHidden = TRUE;
    m_nMode = kModeNothing;
    ShowWindow(SW_HIDE);
}

bool CJHFPShow::HasFingerprint() const {
    if (m_nMode != kModeFingerprint || !m_pImage || m_nImageWidth <= 0 || m_nImageHeight <= 0) return false;
    return static_cast<long long>(m_nImageWidth) * m_nImageHeight <= kCaptureBufferBytes;
}

void CJHFPShow::OnPaint() {
    CCanvasPaint paint(this);
    if (HasFingerprint()) DrawGreyImage(paint.Dc(), paint.Client(), m_pImage, m_nImageWidth, m_nImageHeight);
}
