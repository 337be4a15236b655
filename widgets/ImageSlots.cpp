#include "widgets/ImageSlots.h"

bool CImageSlots::LoadFile(int index, const CString& path) {
    if (!IsSlot(index)) return false;
    m_owned[index] = std::make_unique<CxImage>(path, CXIMAGE_FORMAT_PNG);
    m_images[index] = m_owned[index].get();
    return true;
}

bool CImageSlots::Lend(int index, CxImage* image) {
    if (!IsSlot(index)) return false;
    m_owned[index].reset();
    m_images[index] = image;
    return true;
}
