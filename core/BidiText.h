// The right-to-left reordering entry of the bidirectional-text library,
// null while that library is not loaded. It reorders `length` characters of
// `input` into `output`.
#pragma once

#include "platform/base/types.h"

typedef int (*FriBidiRtoLProc)(const WCHAR* input, WCHAR* output, int length);
extern FriBidiRtoLProc g_pfnFriBidiRtoL;
