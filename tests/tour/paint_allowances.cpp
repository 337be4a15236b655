#include "tests/tour/paint_allowances.h"

#include "main/PhoneShow.h"

// Not listed, because two paints agree on them: the caret does not blink
// (it is drawn steadily by its window's paint), and the main screen's clock
// paints the time it last showed, so a second paint draws the same minute.
const std::vector<PaintAllowance>& LivePaint() {
    static const std::vector<PaintAllowance> allowances{
        {[](HWND hwnd) {
             const auto* frame = dynamic_cast<const CPhoneShow*>(CWnd::FromHandlePermanent(hwnd));
             return frame != nullptr && frame->IsPreviewing();
         },
         "the camera preview shows a new frame every 200 ms"},
    };
    return allowances;
}
