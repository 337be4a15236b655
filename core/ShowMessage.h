// The modal message box of the whole system. Until the skinned box exists
// the text goes to the journal of message boxes and the answer is the safe
// one: OK for one button, No for two.
#pragma once

#include "platform/base/CString.h"

#define IDYES 6
#define IDNO 7

int ShowMessage(CString text, int twoButtons);
int ShowMessageEx(CString text, int twoButtons);
