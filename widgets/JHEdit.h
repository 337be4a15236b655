// CJHEdit: an edit field drawn from skin images over the page's own
// background picture. Its face is the state image (0 normal, 1 focused,
// 2 disabled) over the part of the page picture the field covers; the text
// is written transparently over that face in a large bold font. The field
// takes the size of the images it is given.
#pragma once

#include "platform/ui/image.h"
#include "widgets/ImageSlots.h"
#include "widgets/WidgetRules.h"

class CJHEdit : public CEdit {
    DECLARE_DYNAMIC(CJHEdit)

public:
    static constexpr int kImageCount = CImageSlots::kCount;
    enum ImageSlot { kNormal = 0, kFocused = 1, kDisabled = 2 };

    CJHEdit();

    // The picture the page paints itself with (not owned), drawn under the
    // state image so the field looks cut out of the page; sets the field's
    // font. TRUE.
    BOOL SetBackground(CWnd* parent, CxImage* pageImage);
    // Loads `path` as PNG into slot 0 to 3 and sizes the field to it.
    // FALSE for another index.
    BOOL SetImageFile(int index, CString path);
    // The same with the caller's image, which must outlive the field's use of it.
    BOOL SetImage(int index, CxImage* image);

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    HBRUSH CtlColor(CDC* dc, UINT ctlColor) override;
    BOOL OnReflectedCommand(UINT notifyCode) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;

private:
    void FitTo(int index);

    bool m_focused = false;
    CImageSlots m_images;
    CxImage* m_pageImage = nullptr;
    CFont m_font;
};
