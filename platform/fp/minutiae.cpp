#include "platform/fp/minutiae.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kSmoothTaps = 4;          // each side, along the ridge
constexpr int kTaps = 2 * kSmoothTaps + 1;
constexpr int kMeanWindow = 8;          // each side of the binarising window
constexpr int kBorderBlocks = 2;        // a minutia needs this many ridged blocks all round
constexpr float kMinSeparation = 8.0f;  // closer pairs are noise

// std::lround for the image's small coordinates without a library call:
// halves go away from zero. v - r is exact, r being v without its fraction.
inline int RoundHalfAway(float v) {
    int r = static_cast<int>(v);
    const float fraction = v - static_cast<float>(r);
    if (fraction >= 0.5f) ++r;
    if (fraction <= -0.5f) --r;
    return r;
}

// The mean of kTaps grey levels for every sum they can have, divided once
// here rather than for every pixel.
struct TapMeans {
    float of[kTaps * 255 + 1];
    TapMeans() {
        for (int sum = 0; sum <= kTaps * 255; ++sum) of[sum] = static_cast<float>(sum) / kTaps;
    }
};

const TapMeans& FullTapMeans() {
    static const TapMeans means;
    return means;
}

class BinaryImage {
public:
    BinaryImage(int w, int h) : width(w), height(h), bits(static_cast<size_t>(w) * h) {}
    void Set(int x, int y, uint8_t v) { bits[static_cast<size_t>(y) * width + x] = v; }
    int width, height;
    std::vector<uint8_t> bits;
};

// Dark ridges become 1 after smoothing along the ridge flow and comparing
// with the local mean.
BinaryImage Binarise(const GreyImage& image, const OrientationField& field) {
    const int w = image.width, h = image.height;
    std::vector<float> smooth(static_cast<size_t>(w) * h, 255.0f);
    const TapMeans& means = FullTapMeans();
    for (int by = 0; by < field.Rows(); ++by) {
        for (int bx = 0; bx < field.Cols(); ++bx) {
            if (!field.Ridged(bx, by)) continue;
            const float angle = field.BlockAngle(bx, by);
            const float rx = std::cos(angle), ry = std::sin(angle);
            // Taps reach kSmoothTaps pixels at most: a block that far inside
            // the image needs no bounds checks.
            const bool inside = bx * kBlock >= kSmoothTaps && by * kBlock >= kSmoothTaps &&
                                (bx + 1) * kBlock + kSmoothTaps <= w && (by + 1) * kBlock + kSmoothTaps <= h;
            // A tap's column depends on the pixel's column alone, its row on
            // the pixel's row alone: both rounded once per block.
            int tapX[kBlock][kTaps], tapY[kBlock][kTaps];
            for (int i = 0; i < kBlock; ++i) {
                for (int k = -kSmoothTaps; k <= kSmoothTaps; ++k) {
                    tapX[i][k + kSmoothTaps] = RoundHalfAway(bx * kBlock + i + k * rx);
                    tapY[i][k + kSmoothTaps] = RoundHalfAway(by * kBlock + i + k * ry);
                }
            }
            for (int y = by * kBlock; y < (by + 1) * kBlock; ++y) {
                const int* rows = tapY[y - by * kBlock];
                for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
                    const int* columns = tapX[x - bx * kBlock];
                    int sum = 0, n = 0;
                    for (int k = 0; k < kTaps; ++k) {
                        const int sx = columns[k], sy = rows[k];
                        if (!inside && (sx < 0 || sy < 0 || sx >= w || sy >= h)) continue;
                        sum += image.At(sx, sy);
                        ++n;
                    }
                    smooth[static_cast<size_t>(y) * w + x] = n == kTaps ? means.of[sum] : static_cast<float>(sum) / n;
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

// A pixel's eight neighbours as bits, clockwise from the one above (bit 0);
// the pixel must not lie on the image's edge.
inline int NeighbourCode(const BinaryImage& image, size_t at) {
    const uint8_t* p = image.bits.data() + at;
    const int w = image.width;
    return p[-w] | p[-w + 1] << 1 | p[1] << 2 | p[w + 1] << 3 | p[w] << 4 | p[w - 1] << 5 | p[-1] << 6 |
           p[-w - 1] << 7;
}

bool Neighbour(int code, int k) { return (code >> (k % 8)) & 1; }

// What the neighbours decide, for every one of their 256 patterns: whether
// each thinning pass removes the pixel, and how many ridges cross the ring
// around it.
struct NeighbourTables {
    bool removed[2][256];
    uint8_t crossings[256];
    NeighbourTables() {
        for (int code = 0; code < 256; ++code) {
            int neighbours = 0, transitions = 0, changes = 0;
            for (int k = 0; k < 8; ++k) {
                neighbours += Neighbour(code, k);
                transitions += !Neighbour(code, k) && Neighbour(code, k + 1);
                changes += Neighbour(code, k) != Neighbour(code, k + 1);
            }
            const bool thinnable = neighbours >= 2 && neighbours <= 6 && transitions == 1;
            const auto all = [code](int a, int b, int c) {
                return Neighbour(code, a) && Neighbour(code, b) && Neighbour(code, c);
            };
            removed[0][code] = thinnable && !all(0, 2, 4) && !all(2, 4, 6);
            removed[1][code] = thinnable && !all(0, 2, 6) && !all(0, 4, 6);
            crossings[code] = static_cast<uint8_t>(changes / 2);
        }
    }
};

const NeighbourTables& Tables() {
    static const NeighbourTables tables;
    return tables;
}

// Zhang-Suen thinning: ridges one pixel wide, ends and forks kept. Each
// pass judges the ridge pixels as they stood before it; a pixel once
// removed stays off, so later passes look only at those still on.
// Returns the ridge pixels off the image's edge, in raster order.
std::vector<size_t> Thin(BinaryImage* image) {
    std::vector<size_t> ridge;
    for (int y = 1; y < image->height - 1; ++y) {
        for (int x = 1; x < image->width - 1; ++x) {
            const size_t at = static_cast<size_t>(y) * image->width + x;
            if (image->bits[at]) ridge.push_back(at);
        }
    }
    const NeighbourTables& tables = Tables();
    std::vector<size_t> remove;
    bool changed = true;
    while (changed) {
        changed = false;
        for (int pass = 0; pass < 2; ++pass) {
            remove.clear();
            for (size_t at : ridge)
                if (tables.removed[pass][NeighbourCode(*image, at)]) remove.push_back(at);
            if (remove.empty()) continue;
            for (size_t at : remove) image->bits[at] = 0;
            std::erase_if(ridge, [image](size_t at) { return !image->bits[at]; });
            changed = true;
        }
    }
    return ridge;
}

bool WellInside(const OrientationField& field, int bx, int by) {
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
    const std::vector<size_t> ridge = Thin(&skeleton);
    std::vector<uint8_t> wellInside(static_cast<size_t>(field.Cols()) * field.Rows());
    for (int by = 0; by < field.Rows(); ++by)
        for (int bx = 0; bx < field.Cols(); ++bx) wellInside[by * field.Cols() + bx] = WellInside(field, bx, by);
    const NeighbourTables& tables = Tables();
    std::vector<Minutia> found;
    for (size_t at : ridge) {
        const int x = static_cast<int>(at % skeleton.width), y = static_cast<int>(at / skeleton.width);
        const int bx = x / kBlock, by = y / kBlock;
        // Pixels right of or below the last whole block lie in no block.
        if (bx >= field.Cols() || by >= field.Rows() || !wellInside[by * field.Cols() + bx]) continue;
        // One crossing: a ridge ends; three: it forks.
        const int crossings = tables.crossings[NeighbourCode(skeleton, at)];
        if (crossings != 1 && crossings != 3) continue;
        found.push_back({static_cast<float>(x), static_cast<float>(y), field.BlockAngle(bx, by)});
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
