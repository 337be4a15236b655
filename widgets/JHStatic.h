// CJHStatic: a static text of the control panel drawn over the captured page
// background: the window text on one line, in the font its parent gave it
// with WM_SETFONT, aligned left, centred (the start) or right.
#pragma once

#include "widgets/JHCanvas.h"

class CJHStatic : public CJHCanvas {
    DECLARE_DYNAMIC(CJHStatic)

public:
    // 1 centres, 2 aligns right, anything else aligns left. No repaint.
    void SetAlign(int align);

protected:
    void OnPaint() override;

private:
    enum class Align { Left, Centre, Right };

    Align m_align = Align::Centre;
};
