// Card numbers and the power key from the I/O controller, announced to the
// window that currently wants them, and a message pump for long loops.
#pragma once

#include "core/SharedText.h"
#include "platform/ui/winuser.h"

class CWnd;

// Decimal text of the last card read; emptied at start-up.
extern SharedText g_strLastCardNo;

int HexDigitValue(BYTE ch);
// Card data as hexadecimal digit bytes: the number of its last eight digits
// becomes the last card text, and "CardNo" is posted to the card receiver.
void PostCardNumber(const BYTE* data, int length);
void PostPowerDown();
// The receiver before the last SetCardTarget is remembered (one level).
void SetCardTarget(CWnd* window);
void RestoreCardTarget();
void SetPowerDownTarget(CWnd* window);
HWND GetCardTarget();
void PumpMessages(int count);
