// CPogressBar: the progress bar of the backup, restore, import, export and
// update pages: a track, a fill stretched in proportion to a percentage
// between two caps, and the percentage as text at the right, inside the
// track's straight part, in the colour that stands out from what lies
// under it.
#pragma once

#include "platform/ui/image.h"
#include "widgets/JHCanvas.h"

class CPogressBar : public CJHCanvas {
    DECLARE_DYNAMIC(CPogressBar)

public:
    CPogressBar();

    // Keeps `percent` for the next paint; a page in a long loop that does not
    // pump messages repaints the bar itself. Values above 100 are drawn
    // wider than the track: callers keep their percentages in range.
    void SetPos(UINT percent);
    UINT GetPos() const { return m_pos; }

protected:
    void OnPaint() override;

private:
    struct TextPlace {
        int right;    // where the percentage ends
        bool onFill;  // dark on the light fill, else light on the dark track
    };
    TextPlace PlaceText(int textWidth, int fill, int clientRight) const;

    CxImage m_leftCap;
    CxImage m_rightCap;
    CxImage m_centre;
    CxImage m_track;
    UINT m_pos = 0;
    CFont m_font;
};
