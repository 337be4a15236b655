// The questions a page asks when it is left with values shown that differ
// from the stored ones: one Yes/No question for each changed value, in the
// page's order. Yes means "stay and store it": the page is not left and the
// later questions are not asked. No goes on to the next one.
#pragma once

#include <vector>

#include "platform/base/CString.h"

struct LeaveQuestion {
    bool changed;
    LPCWSTR key;          // the question's text key
    LPCWSTR defaultText;  // its built-in text
};

// True when the user chose to stay.
bool UserStaysToStore(LPCWSTR section, const std::vector<LeaveQuestion>& questions);
