#include "widgets/JHCanvas.h"

IMPLEMENT_DYNAMIC(CJHCanvas, CWnd)

void CJHCanvas::PreSubclassWindow() {
    ModifyStyle(0, SS_NOTIFY, SWP_NOSIZE);
    CStatic::PreSubclassWindow();
}

BOOL CJHCanvas::OnEraseBkgnd(CDC*) { return TRUE; }
