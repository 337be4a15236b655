// CTransButton: an icon button with a caption under the icon, drawn over
// the captured page background (the add-user and edit-user pages). It is a
// BUTTON control, so a tap reaches the page as BN_CLICKED; the focus shows
// as the shared selection frame behind the icon.
//
// Being no canvas, it holds its own copy of the page's pixels under it and
// takes part in the page protocol of JHCanvas.h with the same operations.
#pragma once

#include <memory>

#include "platform/ui/image.h"
#include "widgets/BackgroundCapture.h"
#include "widgets/SkinImageCache.h"
#include "widgets/WidgetRules.h"

class CTransButton : public CCapturingWnd<CButton> {
    DECLARE_DYNAMIC(CTransButton)

public:
    CTransButton();

    // Loads the icon from `path` as it is given and sizes the button to it.
    void SetImage(CString path);
    // The caption under the icon; no repaint.
    void SetText(CString text) { m_caption = text; }

protected:
    void PreSubclassWindow() override;
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    void OnSetFocus(CWnd* oldWnd) override;
    void OnKillFocus(CWnd* newWnd) override;

private:
    std::unique_ptr<CxImage> m_image;
    CString m_caption;
    CFont m_font;
    bool m_focused = false;
    SharedSkinImage m_selectionMark;
};
