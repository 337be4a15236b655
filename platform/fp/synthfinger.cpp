#include "platform/fp/synthfinger.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

#include "platform/fp/fastmath.h"

namespace {

constexpr float kPi = 3.14159265358979f;

// A small generator of our own so that a seed gives the same finger with any
// standard library.
class Rng {
public:
    // The seed is mixed first: neighbouring seeds must not give streams
    // that are one draw apart.
    explicit Rng(uint64_t seed) : m_state(Mix(seed + 0x632BE59BD9B4E019ull)) {}
    uint64_t Next() { return Mix(m_state += 0x9E3779B97F4A7C15ull); }
    float Uniform(float low, float high) {
        return low + (high - low) * static_cast<float>(Next() >> 40) / static_cast<float>(1ull << 24);
    }
    float Normal() {
        float u1 = std::max(Uniform(0.0f, 1.0f), 1e-7f);
        float u2 = Uniform(0.0f, 1.0f);
        return std::sqrt(-2.0f * std::log(u1)) * std::cos(2.0f * kPi * u2);
    }

private:
    static uint64_t Mix(uint64_t z) {
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    uint64_t m_state;
};

struct Bump {
    float x, y, inverseSpread, dx, dy;
};
struct Minutia {
    float x, y, turn;
};

// What makes one finger itself, in finger coordinates centred on its core.
struct Finger {
    float period;
    float stretch, axisCos, axisSin;
    float lean, leanCos, leanSin;
    Bump bumps[3];
    static constexpr int kMinutiae = 20;
    static constexpr float kMinutiaSpacing = 18.0f;
    Minutia minutiae[kMinutiae];
    float coreX, coreY;               // the core's offset from the image centre
    float outlineX, outlineY, outlineA, outlineB;  // the finger's outline, relative to the core

    explicit Finger(uint32_t seed) {
        Rng rng(seed);
        period = rng.Uniform(6.5f, 12.0f);
        stretch = rng.Uniform(0.55f, 1.5f);
        const float axis = rng.Uniform(0.0f, kPi);
        axisCos = std::cos(axis);
        axisSin = std::sin(axis);
        lean = rng.Uniform(-0.6f, 0.6f);
        const float leanAngle = rng.Uniform(0.0f, 2.0f * kPi);
        leanCos = std::cos(leanAngle);
        leanSin = std::sin(leanAngle);
        for (Bump& b : bumps) {
            b.x = rng.Uniform(-80.0f, 80.0f);
            b.y = rng.Uniform(-90.0f, 90.0f);
            const float spread = rng.Uniform(30.0f, 60.0f);
            b.inverseSpread = 1.0f / (2.0f * spread * spread);
            b.dx = rng.Uniform(-35.0f, 35.0f);
            b.dy = rng.Uniform(-35.0f, 35.0f);
        }
        // Minutiae keep some ridges apart, as on real fingers.
        for (int i = 0; i < kMinutiae; ++i) {
            Minutia& m = minutiae[i];
            for (int attempt = 0; attempt < 20; ++attempt) {
                const float r = rng.Uniform(20.0f, 100.0f);
                const float a = rng.Uniform(0.0f, 2.0f * kPi);
                m.x = r * std::cos(a);
                m.y = r * std::sin(a);
                if (ApartFromEarlier(i)) break;
            }
            m.turn = rng.Uniform(0.0f, 1.0f) < 0.5f ? -1.0f : 1.0f;
        }
        coreX = rng.Uniform(-12.0f, 12.0f);
        coreY = rng.Uniform(-15.0f, 10.0f);
        outlineX = rng.Uniform(-10.0f, 10.0f);
        outlineY = rng.Uniform(5.0f, 25.0f);
        outlineA = rng.Uniform(100.0f, 120.0f);
        outlineB = rng.Uniform(125.0f, 145.0f);
    }

    bool ApartFromEarlier(int index) const {
        for (int j = 0; j < index; ++j) {
            const float dx = minutiae[j].x - minutiae[index].x, dy = minutiae[j].y - minutiae[index].y;
            if (dx * dx + dy * dy < kMinutiaSpacing * kMinutiaSpacing) return false;
        }
        return true;
    }

    // 1 on a ridge, 0 in a valley; `u`, `v` relative to the core.
    float Ridge(float u, float v, float pressure) const {
        float wu = u;
        float wv = v;
        for (const Bump& b : bumps) {
            const float du = u - b.x;
            const float dv = v - b.y;
            const float weight = std::exp(-(du * du + dv * dv) * b.inverseSpread);
            wu += b.dx * weight;
            wv += b.dy * weight;
        }
        const float along = wu * axisCos + wv * axisSin;
        const float across = -wu * axisSin + wv * axisCos;
        const float level = std::sqrt(stretch * stretch * along * along + across * across) +
                            lean * (wu * leanCos + wv * leanSin);
        float phase = 2.0f * kPi * level / period;
        for (const Minutia& m : minutiae) phase += m.turn * FastAtan2(v - m.y, u - m.x);
        return 0.5f + 0.5f * std::tanh(2.5f * (std::cos(phase) - pressure));
    }

    // 1 inside the outline, falling to 0 over its rim.
    float Inside(float u, float v) const {
        const float du = (u - outlineX) / outlineA;
        const float dv = (v - outlineY) / outlineB;
        const float d = std::sqrt(du * du + dv * dv);
        return std::clamp((1.0f - d) * 12.0f, 0.0f, 1.0f);
    }
};

uint8_t ToPixel(float value) {
    return static_cast<uint8_t>(std::clamp(value, 0.0f, 255.0f));
}

}  // namespace

GreyImage SynthesizeFinger(uint32_t seed, uint32_t impression, int width, int height) {
    const Finger finger(seed);
    Rng rng((static_cast<uint64_t>(seed) << 32) ^ (impression * 0x85EBCA6Bu + 1));
    const float shiftX = rng.Uniform(-18.0f, 18.0f);
    const float shiftY = rng.Uniform(-18.0f, 18.0f);
    const float turn = rng.Uniform(-12.0f, 12.0f) * kPi / 180.0f;
    const float pressure = rng.Uniform(-0.3f, 0.3f);
    const float noise = rng.Uniform(6.0f, 18.0f);
    const float background = rng.Uniform(225.0f, 250.0f);
    const float ink = rng.Uniform(140.0f, 190.0f);
    const float turnCos = std::cos(turn);
    const float turnSin = std::sin(turn);
    const float centreX = width / 2.0f + finger.coreX + shiftX;
    const float centreY = height / 2.0f + finger.coreY + shiftY;

    GreyImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const float dx = x - centreX;
            const float dy = y - centreY;
            const float u = dx * turnCos + dy * turnSin;
            const float v = -dx * turnSin + dy * turnCos;
            const float inside = finger.Inside(u, v);
            float value = background;
            if (inside > 0.0f) value -= ink * inside * finger.Ridge(u, v, pressure);
            image.At(x, y) = ToPixel(value + noise * rng.Normal());
        }
    }
    return image;
}

GreyImage SynthesizeSmudge(uint32_t seed, int width, int height) {
    Rng rng(seed ^ 0x5A5A5A5Au);
    struct Blob {
        float x, y, inverseSpread, depth;
    } blobs[6];
    for (Blob& b : blobs) {
        b.x = rng.Uniform(0.2f, 0.8f) * width;
        b.y = rng.Uniform(0.2f, 0.8f) * height;
        const float spread = rng.Uniform(20.0f, 60.0f);
        b.inverseSpread = 1.0f / (2.0f * spread * spread);
        b.depth = rng.Uniform(60.0f, 150.0f);
    }
    GreyImage image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            float value = 240.0f;
            for (const Blob& b : blobs) {
                const float dx = x - b.x;
                const float dy = y - b.y;
                value -= b.depth * std::exp(-(dx * dx + dy * dy) * b.inverseSpread);
            }
            image.At(x, y) = ToPixel(value + 10.0f * rng.Normal());
        }
    }
    return image;
}

namespace {

// The grey of bare sensor: the brightest tenth of the press is background.
uint8_t BareSensor(const GreyImage& press) {
    std::vector<uint8_t> sorted = press.pixels;
    const auto at = sorted.begin() + static_cast<std::ptrdiff_t>(sorted.size() * 9 / 10);
    std::nth_element(sorted.begin(), at, sorted.end());
    return *at;
}

// Each pixel of the result taken from (x, y) of the press as `from` says,
// between pixels bilinearly; bare sensor where that lies off the press.
template <class Source>
GreyImage Resample(const GreyImage& press, Source from) {
    const uint8_t bare = BareSensor(press);
    GreyImage out(press.width, press.height, bare);
    for (int y = 0; y < press.height; ++y) {
        for (int x = 0; x < press.width; ++x) {
            float sx, sy;
            from(static_cast<float>(x), static_cast<float>(y), &sx, &sy);
            if (sx < 0 || sy < 0 || sx > press.width - 1 || sy > press.height - 1) continue;
            const int x0 = std::min(static_cast<int>(sx), press.width - 2);
            const int y0 = std::min(static_cast<int>(sy), press.height - 2);
            const float fx = sx - x0, fy = sy - y0;
            const float value = (1 - fx) * (1 - fy) * press.At(x0, y0) + fx * (1 - fy) * press.At(x0 + 1, y0) +
                                (1 - fx) * fy * press.At(x0, y0 + 1) + fx * fy * press.At(x0 + 1, y0 + 1);
            out.At(x, y) = ToPixel(value + 0.5f);
        }
    }
    return out;
}

}  // namespace

GreyImage MisplacePress(const GreyImage& press, Misplacement how, uint32_t seed) {
    Rng rng(seed ^ 0xC3A5C85Cu);
    const float sign = rng.Uniform(0.0f, 1.0f) < 0.5f ? -1.0f : 1.0f;
    switch (how) {
        case Misplacement::Turned: {
            const float turn = sign * rng.Uniform(15.0f, 25.0f) * kPi / 180.0f;
            const float c = std::cos(turn), s = std::sin(turn);
            const float cx = press.width / 2.0f, cy = press.height / 2.0f;
            return Resample(press, [&](float x, float y, float* sx, float* sy) {
                *sx = cx + (x - cx) * c + (y - cy) * s;
                *sy = cy - (x - cx) * s + (y - cy) * c;
            });
        }
        case Misplacement::Shifted: {
            const float distance = rng.Uniform(20.0f, 35.0f), direction = rng.Uniform(0.0f, 2.0f * kPi);
            const float dx = distance * std::cos(direction), dy = distance * std::sin(direction);
            return Resample(press, [&](float x, float y, float* sx, float* sy) {
                *sx = x - dx;
                *sy = y - dy;
            });
        }
        case Misplacement::Partial: {
            const float kept = rng.Uniform(0.55f, 0.70f);
            const int side = static_cast<int>(rng.Uniform(0.0f, 4.0f)) % 4;
            GreyImage out = press;
            const uint8_t bare = BareSensor(press);
            const int keptWidth = static_cast<int>(press.width * kept), keptHeight = static_cast<int>(press.height * kept);
            for (int y = 0; y < press.height; ++y) {
                for (int x = 0; x < press.width; ++x) {
                    const bool lost = side == 0 ? x >= keptWidth
                                    : side == 1 ? x < press.width - keptWidth
                                    : side == 2 ? y >= keptHeight
                                                : y < press.height - keptHeight;
                    if (lost) out.At(x, y) = bare;
                }
            }
            return out;
        }
    }
    return press;
}
