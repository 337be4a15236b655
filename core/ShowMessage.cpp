#include "core/ShowMessage.h"

#include "platform/base/debug.h"

int ShowMessage(CString text, int twoButtons) {
    JournalWrite(kJournalMessageBox, text.str());
    return twoButtons ? IDNO : 1;
}

int ShowMessageEx(CString text, int twoButtons) { return ShowMessage(text, twoButtons); }
