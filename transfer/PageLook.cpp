#include "transfer/PageLook.h"

#include "widgets/WidgetRules.h"

void CPageLook::LoadBackground() { m_background.Load(SkinPath(u"Dialog\\DialogBG.bmp"), CXIMAGE_FORMAT_BMP); }

void CPageLook::Paint(CWnd* page, CDC* dc, std::initializer_list<CJHCanvas*> widgets) {
    m_background.Draw(*dc, 0, 0);
    for (CJHCanvas* widget : widgets) CFontStatic::CaptureWidget(widget, page, dc);
}

HBRUSH CPageLook::PanelBrush(CDC* dc) {
    dc->SetBkMode(TRANSPARENT);
    // The panel colour is a setting: a changed one gets a new brush.
    if (!m_brush.GetSafeHandle() || m_brushColor != WidgetPanelColor()) {
        m_brush.DeleteObject();
        m_brushColor = WidgetPanelColor();
        m_brush.CreateSolidBrush(m_brushColor);
    }
    return static_cast<HBRUSH>(m_brush.GetSafeHandle());
}

void PrepareCaptures(std::initializer_list<CJHCanvas*> widgets) {
    for (CJHCanvas* widget : widgets) {
        widget->ShowWindow(SW_HIDE);
        widget->SetNeedCapture(TRUE);
    }
}
