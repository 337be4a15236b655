#include "widgets/MemoryDC.h"

CMemoryDC::CMemoryDC(CDC* target, const CRect& rect)
    : m_bitmap(std::make_unique<CBitmap>()), m_target(target), m_rect(rect) {
    CreateCompatibleDC(target);
    m_bitmap->CreateCompatibleBitmap(target, rect.Width(), rect.Height());
    m_previous = SelectObject(m_bitmap.get());
}

CMemoryDC::~CMemoryDC() {
    m_target->BitBlt(m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), this, m_rect.left, m_rect.top,
                     SRCCOPY);
    SelectObject(m_previous);
    m_bitmap->DeleteObject();
}
