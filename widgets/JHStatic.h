// CJHStatic: a static text of the control panel drawn over the captured page
// background: the window text on one line, in the font its parent gave it
// with WM_SETFONT, aligned left, centred (the start) or right.
#pragma once

#include "widgets/JHCanvas.h"

class CJHStatic : public CJHCanvas {
    DECLARE_DYNAMIC(CJHStatic)

public:
    // Makes the static's own font ("Load Font fail!" when it cannot); the
    // paint uses the parent's font all the same.
    CJHStatic();

    // 1 centres, 2 aligns right, anything else aligns left. No repaint.
    void SetAlign(int align);

protected:
    void OnPaint() override;

private:
    enum class Align { Left, Centre, Right };

    CFont m_font;
    Align m_align = Align::Centre;
};
