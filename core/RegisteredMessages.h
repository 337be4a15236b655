// The registered window messages the threads, widgets and windows exchange,
// registered during static initialisation so that they exist before the
// application starts.
#pragma once

#include "platform/base/types.h"

extern const UINT WM_VERIFICATIONOK;
extern const UINT WM_VERIFICATIONFAIL;
extern const UINT WM_CONTROLPANEL;
extern const UINT WM_EDITENTER;
extern const UINT WM_FINDPWA;
extern const UINT WM_CARDNO;
extern const UINT WM_DEBUGWIN;
extern const UINT WM_SBSELCHANGE;
extern const UINT WM_POWERDOWN;
