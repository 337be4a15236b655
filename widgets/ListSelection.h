// The row a list page acts on: the first selected one.
#pragma once

#include "platform/ui/afxcmn.h"

// The lowest index whose state is selected, -1 when no row is.
inline int FirstSelectedItem(const CListCtrl& list) {
    const int count = list.GetItemCount();
    for (int i = 0; i < count; ++i)
        if (list.GetItemState(i, LVIS_SELECTED) == LVIS_SELECTED) return i;
    return -1;
}
