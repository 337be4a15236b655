// The titles of a list's columns written on one line of a skinned button
// above the list, each standing over its column's text. Fixed runs of
// blanks between the titles match the columns in the terminal's font only;
// here each title gets the blanks that bring it to its column, or, when
// the line has no room for it there, to where it ends with the line.
#pragma once

#include <vector>

#include "platform/base/CString.h"

class CSelectButton;
class CSkinListCtrl;

// The line for `titles` (one per column, from the first), with `line` and
// `list` already in their places and the list's columns inserted.
CString AlignedTitleLine(CSelectButton& line, const CSkinListCtrl& list, const std::vector<CString>& titles);
