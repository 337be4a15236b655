// The Yes/No questions of the rule pages. Leaving a page with values shown
// that differ from the stored ones asks one question for each changed
// value, in the page's order. Yes means "stay and store it": the page is
// not left and the later questions are not asked. No goes on to the next
// one.
#pragma once

#include <vector>

#include "platform/base/CString.h"

// Asks `text` with Yes and No; true on Yes.
bool AskYesNo(const CString& text);

struct LeaveQuestion {
    bool changed;
    LPCWSTR key;          // the question's text key
    LPCWSTR defaultText;  // its built-in text
};

// True when the user chose to stay.
bool UserStaysToStore(LPCWSTR section, const std::vector<LeaveQuestion>& questions);
