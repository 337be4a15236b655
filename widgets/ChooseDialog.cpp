#include "widgets/ChooseDialog.h"

IMPLEMENT_DYNAMIC(CChooseDialog, CJHCanvas)
