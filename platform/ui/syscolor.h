// System colours and how brushes resolve to a colour.
#pragma once

#include <optional>

#include "platform/base/types.h"

// The colour a brush paints with; nothing for the null brush or a dead
// handle. A system colour index plus one stands for that colour, as window
// classes give their background brush.
std::optional<COLORREF> BrushColor(HBRUSH brush);
