#include "tests/page_support/column_titles.h"

#include "platform/ui/dc.h"
#include "platform/ui/display.h"
#include "platform/ui/textrun.h"

TitlesAndColumns LookAtTitles(CWnd& titleLine, const CListCtrl& list, int columns) {
    TitlesAndColumns seen;
    CRect lineRect;
    titleLine.GetWindowRect(lineRect);
    SetTextRunObserver([&](const DrawnTextRun& run) {
        // The line paints off-screen, in its own coordinates.
        const LONG toScreen = run.dc->surface == GetScreenSurface() ? 0 : lineRect.left;
        // The letters come one per character that has ink.
        size_t letter = 0;
        for (size_t i = 0; i < run.text.size() && letter < run.letters.size(); ++i) {
            if (run.text[i] == u' ') continue;
            if (i == 0 || run.text[i - 1] == u' ') {
                seen.titleLefts.push_back(run.letters[letter].left + toScreen);
                seen.titleRights.push_back(0);
            }
            seen.titleRights.back() = run.letters[letter].right + toScreen;
            ++letter;
        }
    });
    titleLine.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    SetTextRunObserver(nullptr);
    CRect origin;
    list.GetWindowRect(origin);
    LONG left = origin.left;
    for (int column = 0; column < columns; ++column) {
        const int width = list.GetColumnWidth(column);
        seen.columns.emplace_back(left, left + width);
        left += width;
    }
    return seen;
}
