// Stock objects the layer itself hands out.
#pragma once

#include "platform/base/types.h"

// The 1x1 bitmap a new memory DC starts with.
HBITMAP DefaultBitmap();
