// The class library's window classes in one include.
#pragma once

#include "platform/ui/CDialog.h"
#include "platform/ui/CEdit.h"
#include "platform/ui/CWinApp.h"
#include "platform/ui/CWnd.h"
#include "platform/ui/ddx.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/windowdc.h"
