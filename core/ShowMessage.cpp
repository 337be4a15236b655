#include "core/ShowMessage.h"

#include "widgets/LDMessageBox.h"

int ShowMessage(CString text, int twoButtons) {
    CLDMessageBox box(twoButtons != 0, nullptr);
    box.SetText(text);
    const INT_PTR result = box.DoModal();
    if (!twoButtons) return 1;
    return result == IDOK ? IDYES : IDNO;
}

int ShowMessageEx(CString text, int twoButtons) { return ShowMessage(text, twoButtons); }
