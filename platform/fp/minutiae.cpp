#include "platform/fp/minutiae.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSmoothTaps = 4;          // each side, along the ridge
constexpr int kMeanWindow = 8;          // each side of the binarising window
constexpr int kBorderBlocks = 2;        // a minutia needs this many ridged blocks all round
constexpr float kMinSeparation = 8.0f;  // closer pairs are noise

class BinaryImage {
public:
    BinaryImage(int w, int h) : width(w), height(h), bits(static_cast<size_t>(w) * h) {}
    uint8_t Get(int x, int y) const {
        return x < 0 || y < 0 || x >= width || y >= height ? 0 : bits[static_cast<size_t>(y) * width + x];
    }
    void Set(int x, int y, uint8_t v) { bits[static_cast<size_t>(y) * width + x] = v; }
    int width, height;
    std::vector<uint8_t> bits;
};

// Dark ridges become 1 after smoothing along the ridge flow and comparing
// with the local mean.
BinaryImage Binarise(const GreyImage& image, const OrientationField& field) {
    const int w = image.width, h = image.height;
    std::vector<float> smooth(static_cast<size_t>(w) * h, 255.0f);
    for (int by = 0; by < field.Rows(); ++by) {
        for (int bx = 0; bx < field.Cols(); ++bx) {
            if (!field.Ridged(bx, by)) continue;
            const float angle = field.BlockAngle(bx, by);
            const float rx = std::cos(angle), ry = std::sin(angle);
            for (int y = by * kBlock; y < (by + 1) * kBlock; ++y) {
                for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
                    float sum = 0;
                    int n = 0;
                    for (int k = -kSmoothTaps; k <= kSmoothTaps; ++k) {
                        const int sx = static_cast<int>(std::lround(x + k * rx));
                        const int sy = static_cast<int>(std::lround(y + k * ry));
                        if (sx < 0 || sy < 0 || sx >= w || sy >= h) continue;
                        sum += image.At(sx, sy);
                        ++n;
                    }
                    smooth[static_cast<size_t>(y) * w + x] = sum / n;
                }
            }
        }
    }
    std::vector<double> integral(static_cast<size_t>(w + 1) * (h + 1), 0.0);
    for (int y = 0; y < h; ++y) {
        double row = 0;
        for (int x = 0; x < w; ++x) {
            row += smooth[static_cast<size_t>(y) * w + x];
            integral[static_cast<size_t>(y + 1) * (w + 1) + x + 1] = integral[static_cast<size_t>(y) * (w + 1) + x + 1] + row;
        }
    }
    BinaryImage ridges(w, h);
    for (int by = 0; by < field.Rows(); ++by) {
        for (int bx = 0; bx < field.Cols(); ++bx) {
            if (!field.Ridged(bx, by)) continue;
            for (int y = by * kBlock; y < (by + 1) * kBlock; ++y) {
                for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
                    const int x0 = std::max(0, x - kMeanWindow), x1 = std::min(w, x + kMeanWindow + 1);
                    const int y0 = std::max(0, y - kMeanWindow), y1 = std::min(h, y + kMeanWindow + 1);
                    const double total = integral[static_cast<size_t>(y1) * (w + 1) + x1] -
                                         integral[static_cast<size_t>(y0) * (w + 1) + x1] -
                                         integral[static_cast<size_t>(y1) * (w + 1) + x0] +
                                         integral[static_cast<size_t>(y0) * (w + 1) + x0];
                    const double mean = total / ((x1 - x0) * (y1 - y0));
                    ridges.Set(x, y, smooth[static_cast<size_t>(y) * w + x] < mean ? 1 : 0);
                }
            }
        }
    }
    return ridges;
}

// Zhang-Suen thinning: ridges one pixel wide, ends and forks kept.
void Thin(BinaryImage* image) {
    std::vector<size_t> remove;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int pass = 0; pass < 2; ++pass) {
            remove.clear();
            for (int y = 1; y < image->height - 1; ++y) {
                for (int x = 1; x < image->width - 1; ++x) {
                    if (!image->Get(x, y)) continue;
                    const uint8_t p[8] = {image->Get(x, y - 1), image->Get(x + 1, y - 1), image->Get(x + 1, y),
                                          image->Get(x + 1, y + 1), image->Get(x, y + 1), image->Get(x - 1, y + 1),
                                          image->Get(x - 1, y), image->Get(x - 1, y - 1)};
                    int neighbours = 0, transitions = 0;
                    for (int k = 0; k < 8; ++k) {
                        neighbours += p[k];
                        transitions += !p[k] && p[(k + 1) % 8];
                    }
                    if (neighbours < 2 || neighbours > 6 || transitions != 1) continue;
                    const bool clear = pass == 0 ? (!(p[0] && p[2] && p[4]) && !(p[2] && p[4] && p[6]))
                                                 : (!(p[0] && p[2] && p[6]) && !(p[0] && p[4] && p[6]));
                    if (clear) remove.push_back(static_cast<size_t>(y) * image->width + x);
                }
            }
            for (size_t i : remove) image->bits[i] = 0;
            changed = changed || !remove.empty();
        }
    }
}

bool WellInside(const OrientationField& field, int x, int y) {
    const int bx = x / kBlock, by = y / kBlock;
    for (int dy = -kBorderBlocks; dy <= kBorderBlocks; ++dy) {
        for (int dx = -kBorderBlocks; dx <= kBorderBlocks; ++dx) {
            const int cx = bx + dx, cy = by + dy;
            if (cx < 0 || cy < 0 || cx >= field.Cols() || cy >= field.Rows() || !field.Ridged(cx, cy)) return false;
        }
    }
    return true;
}

}  // namespace

std::vector<Minutia> FindMinutiae(const GreyImage& image, const OrientationField& field) {
    BinaryImage skeleton = Binarise(image, field);
    Thin(&skeleton);
    std::vector<Minutia> found;
    for (int y = 1; y < skeleton.height - 1; ++y) {
        for (int x = 1; x < skeleton.width - 1; ++x) {
            if (!skeleton.Get(x, y) || !WellInside(field, x, y)) continue;
            const uint8_t p[8] = {skeleton.Get(x, y - 1), skeleton.Get(x + 1, y - 1), skeleton.Get(x + 1, y),
                                  skeleton.Get(x + 1, y + 1), skeleton.Get(x, y + 1), skeleton.Get(x - 1, y + 1),
                                  skeleton.Get(x - 1, y), skeleton.Get(x - 1, y - 1)};
            int crossings = 0;
            for (int k = 0; k < 8; ++k) crossings += p[k] != p[(k + 1) % 8];
            crossings /= 2;
            // One crossing: a ridge ends; three: it forks.
            if (crossings != 1 && crossings != 3) continue;
            found.push_back({static_cast<float>(x), static_cast<float>(y), field.BlockAngle(x / kBlock, y / kBlock)});
        }
    }
    std::vector<uint8_t> noise(found.size(), 0);
    for (size_t i = 0; i < found.size(); ++i) {
        for (size_t j = i + 1; j < found.size(); ++j) {
            const float dx = found[i].x - found[j].x, dy = found[i].y - found[j].y;
            if (dx * dx + dy * dy < kMinSeparation * kMinSeparation) noise[i] = noise[j] = 1;
        }
    }
    std::vector<Minutia> kept;
    for (size_t i = 0; i < found.size(); ++i) {
        if (!noise[i]) kept.push_back(found[i]);
    }
    return kept;
}
