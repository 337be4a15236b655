// Where the titles of a title line above a list begin on the screen, and
// where each column of the list holds its text: a title belongs to the
// column it begins in.
#pragma once

#include <utility>
#include <vector>

#include "platform/ui/afxcmn.h"

struct TitlesAndColumns {
    std::vector<LONG> titleLefts;                // screen x of each title's first letter
    std::vector<LONG> titleRights;               // and of the end of its last letter
    std::vector<std::pair<LONG, LONG>> columns;  // screen x of each column, from and to
};

// Paints the title line again and notes where its titles begin (a title
// starts at each letter after a blank), and where the list's first
// `columns` columns lie.
TitlesAndColumns LookAtTitles(CWnd& titleLine, const CListCtrl& list, int columns);
