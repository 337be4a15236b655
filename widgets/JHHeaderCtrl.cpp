#include "widgets/JHHeaderCtrl.h"

#include "widgets/WidgetRules.h"

IMPLEMENT_DYNAMIC(CJHHeaderCtrl, CHeaderCtrl)

namespace {

constexpr int kTitleIndent = 4;
constexpr int kTitleLimit = 256;

}  // namespace

void CJHHeaderCtrl::OnPaint() {
    CPaintDC dc(this);
    const COLORREF panel = WidgetPanelColor();
    CRect client;
    GetClientRect(&client);
    const int count = GetItemCount();
    CRect column(0, 0, -1, client.Height());  // what lies right of "no column": everything
    for (int i = 0; i < count; ++i) {
        CFont* previousFont = dc.SelectObject(GetFont());
        GetItemRect(i, &column);
        dc.SetBkMode(TRANSPARENT);
        // A button frame of which only the left edge stays visible: the
        // separator between two columns.
        CRect frame(column.left + 1, column.top, column.right, column.bottom);
        dc.DrawFrameControl(frame, DFC_BUTTON, DFCS_BUTTONPUSH);
        dc.FillSolidRect(CRect(column.left + 2, column.top, column.right, column.bottom), panel);
        TEXTMETRIC metrics{};
        dc.GetTextMetrics(&metrics);
        CRect title = column;
        title.OffsetRect(kTitleIndent, (column.Height() - metrics.tmHeight) / 2);
        char16_t text[kTitleLimit] = {};
        HDITEM item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = kTitleLimit;
        GetItem(i, &item);
        dc.DrawText(text, title, DT_LEFT | DT_TOP);
        dc.SelectObject(previousFont);
    }
    dc.FillSolidRect(CRect(column.right + 1, 0, client.right, column.bottom), panel);
}
