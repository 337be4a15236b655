#include "widgets/ColumnTitleLine.h"

#include "widgets/SelectButton.h"
#include "widgets/SkinListCtrl.h"

CString AlignedTitleLine(CSelectButton& line, const CSkinListCtrl& list, const std::vector<CString>& titles) {
    if (titles.empty()) return CString();
    CRect lineRect;
    CRect listRect;
    line.GetWindowRect(lineRect);
    list.GetWindowRect(listRect);
    const int textLeft = lineRect.left + line.CaptionLeft();
    CString text = titles[0];
    int columnLeft = listRect.left;
    for (size_t i = 1; i < titles.size(); ++i) {
        columnLeft += list.GetColumnWidth(static_cast<int>(i - 1));
        const int target = columnLeft + CSkinListCtrl::kSubItemInset - textLeft;
        int blanks = 1;
        while (blanks < target && line.CaptionWidth(text + CString(u' ', blanks + 1)) <= target) ++blanks;
        // A title wider than the room its column leaves on the line ends
        // where the caption ends, over the end of its column.
        while (blanks > 1 && line.CaptionWidth(text + CString(u' ', blanks) + titles[i]) > line.CaptionRoom()) --blanks;
        text += CString(u' ', blanks) + titles[i];
    }
    return text;
}
