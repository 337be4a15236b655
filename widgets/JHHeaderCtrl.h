// CJHHeaderCtrl: a column header painted in the page colour (the PANELCOLOR
// setting), each column a thin separator and its title; the record page
// holds one above its owner-drawn list.
#pragma once

#include "platform/ui/afxcmn.h"

class CJHHeaderCtrl : public CHeaderCtrl {
    DECLARE_DYNAMIC(CJHHeaderCtrl)

protected:
    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC*) override { return TRUE; }
};
