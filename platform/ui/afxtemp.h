// Temporary class-library wrappers handed out by FromHandle die with their
// handle: DeleteObject and DeleteDC tell the class library here.
#pragma once

#include "platform/base/types.h"

void ForgetTemporaryObject(HGDIOBJ handle);
void ForgetTemporaryDC(HDC handle);
