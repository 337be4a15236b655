#include "core/ShowMessage.h"

#include "core/AppMessageBox.h"

int ShowMessage(CString text, int twoButtons) {
    if (!twoButtons) {
        AfxMessageBox(text, MB_OK);
        return 1;
    }
    return AfxMessageBox(text, MB_YESNO);
}

int ShowMessageEx(CString text, int twoButtons) { return ShowMessage(text, twoButtons); }
