// CPogressBar: the progress bar of the backup, restore, import, export and
// update pages: a track, a fill stretched in proportion to a percentage
// between two caps, and the percentage as text at the right.
#pragma once

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CPogressBar : public CJHCanvas {
    DECLARE_DYNAMIC(CPogressBar)

public:
    CPogressBar();

    // Shows `percent`, at most 100, at once: the pages call it from long
    // loops that do not always pump messages.
    void SetPos(UINT percent);
    UINT GetPos() const { return m_pos; }

protected:
    void OnPaint() override;

private:
    CxImage m_leftCap;
    CxImage m_rightCap;
    CxImage m_centre;
    CxImage m_track;
    UINT m_pos = 0;
    CFont m_font;
};
