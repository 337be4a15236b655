#include "platform/ui/surface.h"

#include <algorithm>
#include <utility>

Surface::Surface(int width, int height) {
    if (width <= 0 || height <= 0)
        return;
    m_storage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    m_pixels = m_storage.data();
    m_width = width;
    m_height = height;
    m_stride = width;
}

Surface Surface::View(Pixel* pixels, int width, int height, int stride) {
    Surface view;
    if (pixels == nullptr || width <= 0 || height <= 0 || stride < width)
        return view;
    view.m_pixels = pixels;
    view.m_width = width;
    view.m_height = height;
    view.m_stride = stride;
    return view;
}

Surface::Surface(Surface&& other) noexcept { *this = std::move(other); }

Surface& Surface::operator=(Surface&& other) noexcept {
    if (this == &other)
        return *this;
    bool owned = other.m_pixels != nullptr && other.m_pixels == other.m_storage.data();
    m_storage = std::move(other.m_storage);
    m_pixels = owned ? m_storage.data() : other.m_pixels;
    m_width = std::exchange(other.m_width, 0);
    m_height = std::exchange(other.m_height, 0);
    m_stride = std::exchange(other.m_stride, 0);
    other.m_pixels = nullptr;
    other.m_storage.clear();
    return *this;
}

void Surface::Fill(Pixel pixel) {
    for (int y = 0; y < m_height; ++y)
        std::fill_n(Row(y), m_width, pixel);
}
