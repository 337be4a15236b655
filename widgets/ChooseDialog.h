// CChooseDialog: a plain transparent canvas under its own class name; it
// behaves exactly as CJHCanvas.
#pragma once

#include "widgets/JHCanvas.h"

class CChooseDialog : public CJHCanvas {
    DECLARE_DYNAMIC(CChooseDialog)
};
