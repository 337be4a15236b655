#include "widgets/ImagaBotton.h"

#include "widgets/CanvasPaint.h"

IMPLEMENT_DYNAMIC(CImagaBotton, CJHCanvas)

namespace {

const WidgetFontSpec kTraditionalFont{u"Microsoft JhengHei", 16, 400, 136, 5};
const WidgetFontSpec kOtherFont{u"微软雅黑", 14, 0, 0, 6};

// Pictures narrower than these take the small frame, and the lower caption
// band in the small font; the two limits differ by one pixel.
constexpr int kSmallFrameBelow = 51;
constexpr int kSmallCaptionBelow = 50;
constexpr int kCaptionBand = 20;
constexpr int kSmallCaptionBand = 17;
constexpr int kOverlayX = 15;
constexpr int kOverlayY = 18;

std::unique_ptr<CxImage> LoadPng(const CString& path) {
    return std::make_unique<CxImage>(path, CXIMAGE_FORMAT_PNG);
}

}  // namespace

CImagaBotton::CImagaBotton() {
    MakeWidgetFont(m_captionFont, kTraditionalFont, kOtherFont);
    MakeWidgetFont(m_smallCaptionFont, kTraditionalFont, kOtherFont);
}

void CImagaBotton::SetImage(CString path) {
    m_image = LoadPng(path);
    SizeWindowTo(*m_image);
    if (!m_wideFrame) m_wideFrame = AcquireSkinImage(u"ControlPanel\\ICON\\bg.png", CXIMAGE_FORMAT_PNG);
    if (!m_smallFrame) m_smallFrame = AcquireSkinImage(u"ControlPanel\\ICON\\sbg.png", CXIMAGE_FORMAT_PNG);
}

void CImagaBotton::SetOverlayImage(CString path) {
    m_overlay = LoadPng(path);
    SizeWindowTo(*m_overlay);
}

int CImagaBotton::GetImageWidth() const { return m_image ? static_cast<int>(m_image->GetWidth()) : -1; }

int CImagaBotton::GetImageHeight() const { return m_image ? static_cast<int>(m_image->GetHeight()) : -1; }

void CImagaBotton::SetText(CString caption) {
    m_caption = caption;
    Repaint();
}

void CImagaBotton::SetVisible(bool visible) {
    m_visible = visible;
    Repaint();
}

void CImagaBotton::SetBlink(bool blink) {
    if (blink) {
        SetTimer(kBlinkTimer, kBlinkPeriodMs);
        return;
    }
    KillTimer(kBlinkTimer);
    // Stopped in the dark phase, the overlay must come back on the screen
    // too, not only in the state.
    const bool wasHidden = m_blinkPhase;
    m_blinkPhase = false;
    if (wasHidden) Invalidate(TRUE);
}

void CImagaBotton::GetPosInParent(CRect& screenRect, CPoint& inParent, HWND parent) const {
    GetWindowRect(&screenRect);
    inParent = screenRect.TopLeft();
    ::ScreenToClient(parent, &inParent);
}

BOOL CImagaBotton::MoveAndCaptureBackground(CWnd* parent, CDC* dc, int x, int y, int show) {
    MoveKeepingSize(x, y);
    return CJHCanvas::CaptureBackground(parent, dc, show);
}

BOOL CImagaBotton::MoveAndCaptureParentBackground(CWnd* parent, int x, int y) {
    MoveKeepingSize(x, y);
    return CaptureParentBackground(parent, 1);
}

void CImagaBotton::SizeWindowTo(const CxImage& image) {
    SetWindowPos(nullptr, 0, 0, static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()),
                 SWP_NOMOVE | SWP_NOZORDER);
}

void CImagaBotton::MoveKeepingSize(int x, int y) {
    CRect client;
    GetClientRect(client);
    SetWindowPos(nullptr, x, y, client.Width(), client.Height(), SWP_NOZORDER);
}

void CImagaBotton::Repaint() {
    Invalidate(TRUE);
    UpdateWindow();
}

void CImagaBotton::OnPaint() {
    CCanvasPaint paint(this);
    CDC& memory = paint.Dc();
    CFont* previousFont = memory.SelectObject(&m_captionFont);
    const COLORREF previousColor = memory.SetTextColor(kWidgetDarkText);
    if (m_visible) {
        CRect band = paint.Client();
        if (m_image) {
            const int width = static_cast<int>(m_image->GetWidth());
            // The frame lies under the picture.
            if (m_selected) {
                const bool small = width < kSmallFrameBelow;
                if (const SharedSkinImage& frame = small ? m_smallFrame : m_wideFrame)
                    frame->Draw(memory, 1, small ? 1 : 3);
            }
            if (width < kSmallCaptionBelow) {
                band.top = band.bottom - kSmallCaptionBand;
                memory.SelectObject(&m_smallCaptionFont);
            } else {
                band.top = band.bottom - kCaptionBand;
            }
            m_image->Draw(memory, 0, 0);
        }
        if (m_overlay && !m_blinkPhase) m_overlay->Draw(memory, kOverlayX, kOverlayY);
        memory.SetBkMode(TRANSPARENT);
        memory.DrawText(m_caption, band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    memory.SetTextColor(previousColor);
    memory.SelectObject(previousFont);
}

void CImagaBotton::OnTimer(UINT_PTR id) {
    m_blinkPhase = !m_blinkPhase;
    Invalidate(TRUE);
    Invalidate(FALSE);
    CJHCanvas::OnTimer(id);
}
