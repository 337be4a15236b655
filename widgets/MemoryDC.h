// CMemoryDC: an off-screen DC over a rectangle of a target DC. The widgets
// paint into it and its destructor copies the whole picture to the target in
// one BitBlt, so a repaint never shows half-drawn states.
#pragma once

#include <memory>

#include "platform/ui/afxwin.h"

class CMemoryDC : public CDC {
public:
    // A memory DC compatible with `target` holding a bitmap of the
    // rectangle's size.
    CMemoryDC(CDC* target, const CRect& rect);
    // Copies the picture to the target at (rect.left, rect.top).
    ~CMemoryDC() override;
    CMemoryDC(const CMemoryDC&) = delete;
    CMemoryDC& operator=(const CMemoryDC&) = delete;

private:
    std::unique_ptr<CBitmap> m_bitmap;
    CBitmap* m_previous = nullptr;
    CDC* m_target;
    CRect m_rect;
};
