// The state images of a widget that takes its pictures from its caller:
// four numbered slots, each holding an image the widget loaded itself (and
// owns) or one the caller lends (and keeps).
#pragma once

#include <array>
#include <memory>

#include "platform/base/CString.h"
#include "platform/ui/image.h"

class CImageSlots {
public:
    static constexpr int kCount = 4;

    static bool IsSlot(int index) { return index >= 0 && index < kCount; }

    // Loads `path` as PNG into the slot, owned (a missing file gives an
    // empty image). False for a bad index.
    bool LoadFile(int index, const CString& path);
    // The caller's image in the slot, not owned. False for a bad index.
    bool Lend(int index, CxImage* image);

    // The image in the slot, null when empty.
    const CxImage* operator[](int index) const { return m_images[index]; }

private:
    std::array<CxImage*, kCount> m_images{};
    std::array<std::unique_ptr<CxImage>, kCount> m_owned;
};
