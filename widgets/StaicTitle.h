// CStaicTitle: the title bar at the top of the control panel and the main
// screen: the bar image across the top and, centred on it, the current title
// on a capsule-shaped plate (left cap, a centre piece as wide as the text,
// right cap). The window takes the bar image's size when it is bound.
#pragma once

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CStaicTitle : public CJHCanvas {
    DECLARE_DYNAMIC(CStaicTitle)

public:
    CStaicTitle();

    // The current title becomes the previous one; no repaint (the caller
    // invalidates).
    void SetTitle(CString title);
    CString GetTitle() const { return m_title; }
    CString GetPrevTitle() const { return m_prevTitle; }
    // The bar image's size: the control panel places its pages below it.
    int GetBarHeight() const { return static_cast<int>(m_bar.GetHeight()); }
    int GetBarWidth() const { return static_cast<int>(m_bar.GetWidth()); }

protected:
    void PreSubclassWindow() override;
    void OnPaint() override;

private:
    CxImage m_leftCap;
    CxImage m_rightCap;
    CxImage m_centre;
    CxImage m_bar;
    CString m_title;
    CString m_prevTitle;
    CFont m_font;
};
