// What the transfer and maintenance pages share in looks: the dialog
// background of the skin under their transparent widgets, and the panel
// colour behind their plain controls.
#pragma once

#include <initializer_list>

#include "platform/ui/afxwin.h"
#include "platform/ui/image.h"
#include "widgets/FontStatic.h"

class CPageLook {
public:
    // Loads "Dialog\DialogBG.bmp" of the current skin.
    void LoadBackground();
    // Draws the background into `dc` (the page's, in WM_ERASEBKGND) and lets
    // each widget that waits for it copy the pixels under it.
    void Paint(CWnd* page, CDC* dc, std::initializer_list<CJHCanvas*> widgets);
    // Transparent text on a solid brush of the panel colour.
    HBRUSH PanelBrush(CDC* dc);

private:
    CxImage m_background;
    CBrush m_brush;
    COLORREF m_brushColor = 0;
};

// Hides each widget and marks it for a new background capture, so that the
// page's next erase brings it back over the background.
void PrepareCaptures(std::initializer_list<CJHCanvas*> widgets);
