// The windows whose pixels may differ between two paints with nothing
// wrong, each with the reason.
#pragma once

#include <vector>

#include "tests/support/fresh_paint.h"

const std::vector<PaintAllowance>& LivePaint();
