// The bar along the bottom of the main screen that shows the hint of the
// field or page in use, with one level of history.
#pragma once

#include "platform/ui/afxwin.h"
#include "platform/ui/image.h"
#include "widgets/WidgetRules.h"

class CBottomTaskBar : public CWnd {
public:
    // Made along the bottom of `parent`, as high as its background picture.
    using CWnd::Create;
    BOOL Create(CWnd* parent, const CString& skinDir);
    int Height() const;
    // The height a bar made with that skin has.
    static int HeightFor(const CString& skinDir);

    // A mode other than -1 makes the current hint the previous one; -1
    // brings the previous hint back (a second -1 changes nothing).
    void SetHint(const CString& text, int mode);
    const CString& Text() const { return m_text; }
    int Mode() const { return m_mode; }

    void OnPaint() override;
    BOOL OnEraseBkgnd(CDC* dc) override;

private:
    CxImage m_background;
    CString m_text;
    int m_mode = 0;
    CString m_previousText;
    int m_previousMode = 0;
};
