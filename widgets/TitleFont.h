// The font of the title bar and the progress bar.
#pragma once

#include "widgets/WidgetRules.h"

inline BOOL MakeTitleFont(CFont& font) {
    static const WidgetFontSpec traditional{u"Microsoft JhengHei", 16, 400, 1, 6};
    static const WidgetFontSpec other{u"微软雅黑", 14, 400, 1, 6};
    return MakeWidgetFont(font, traditional, other);
}
