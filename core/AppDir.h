// The application directory: the program's own folder with its trailing
// backslash; every file path of the terminal is built from it.
#pragma once

#include "platform/base/CString.h"

void GetAppDir(CString& appDir);
