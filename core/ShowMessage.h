// The modal message box of the whole system: one button (result 1) or two
// (IDYES or IDNO), shown by the skinned box CLDMessageBox.
#pragma once

#include "platform/base/CString.h"

#define IDYES 6
#define IDNO 7

int ShowMessage(CString text, int twoButtons);
int ShowMessageEx(CString text, int twoButtons);
