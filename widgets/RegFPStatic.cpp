#include "widgets/RegFPStatic.h"

#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CRegFPStatic, CJHCanvas)

namespace {

constexpr UINT_PTR kBlinkTimer = 1234;
constexpr UINT kBlinkMs = 400;

}  // namespace

void CRegFPStatic::SetImages(CString selectedPath, CString enrolledPath) {
    FreeImages();
    m_selectedImage = std::make_unique<CxImage>(selectedPath, CXIMAGE_FORMAT_PNG);
    m_enrolledImage = std::make_unique<CxImage>(enrolledPath, CXIMAGE_FORMAT_PNG);
}

void CRegFPStatic::FreeImages() {
    m_selectedImage.reset();
    m_enrolledImage.reset();
}

void CRegFPStatic::SetCaption(CString caption) {
    m_caption = caption;
    Invalidate(TRUE);
    UpdateWindow();
}

void CRegFPStatic::ResetState() {
    FreeImages();
    m_blinkOff = false;
    m_selected = false;
    m_enrolled = false;
}

void CRegFPStatic::SetBlink(bool blink) {
    if (blink) {
        SetTimer(kBlinkTimer, kBlinkMs);
        return;
    }
    KillTimer(kBlinkTimer);
    m_blinkOff = false;
    Repaint();
}

void CRegFPStatic::Repaint() {
    Invalidate(TRUE);
    Invalidate(FALSE);
}

void CRegFPStatic::OnTimer(UINT_PTR id) {
    m_blinkOff = !m_blinkOff;
    Repaint();
    CJHCanvas::OnTimer(id);
}

void CRegFPStatic::OnPaint() {
    CCanvasPaint paint(this);
    CDC& dc = paint.Dc();
    dc.SetBkMode(TRANSPARENT);
    if (m_enrolled && m_enrolledImage) m_enrolledImage->Draw(dc, 0, 0);
    if (m_selected && m_selectedImage && !m_blinkOff) m_selectedImage->Draw(dc, 0, 0);
    CString text;
    GetWindowText(text);
    CRect client = paint.Client();
    if (!text.IsEmpty()) dc.DrawText(text, client, DT_SINGLELINE | DT_END_ELLIPSIS);
}
