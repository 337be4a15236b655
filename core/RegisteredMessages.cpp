#include "core/RegisteredMessages.h"

#include "platform/ui/winuser.h"

const UINT WM_VERIFICATIONOK = RegisterWindowMessageW(u"VerificationOK");
const UINT WM_VERIFICATIONFAIL = RegisterWindowMessageW(u"VerificationFail");
const UINT WM_CONTROLPANEL = RegisterWindowMessageW(u"ControlPanel");
const UINT WM_EDITENTER = RegisterWindowMessageW(u"EditEnter");
const UINT WM_FINDPWA = RegisterWindowMessageW(u"FindPwa");
const UINT WM_CARDNO = RegisterWindowMessageW(u"CardNo");
const UINT WM_DEBUGWIN = RegisterWindowMessageW(u"DebugWin");
const UINT WM_SBSELCHANGE = RegisterWindowMessageW(u"SBSELChange");
const UINT WM_POWERDOWN = RegisterWindowMessageW(u"PowerDown");
