// Ends the terminal's process at once with `code`, from any thread: the log
// gets its last line first. Threads still running are not waited for, and
// no object is destroyed under them.
#pragma once

#include "platform/base/types.h"

[[noreturn]] void EndProcess(UINT code);
