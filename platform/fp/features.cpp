#include "platform/fp/features.h"

#include "platform/fp/minutiae.h"
#include "platform/fp/orientfield.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

constexpr float kMinFingerShare = 0.2f;      // of the image's blocks
constexpr int kMinUsableSamples = 24;  // of kRings * kSectors, more than kMinSharedOrientations
constexpr int kCoreCircleGaps = 6;     // of the 24 points of a circle round the core
constexpr int kOtherViewGaps = 6;      // more, for another place the core may lie

float Bilinear(const GreyImage& image, float x, float y) {
    const int x0 = static_cast<int>(x), y0 = static_cast<int>(y);
    const float fx = x - x0, fy = y - y0;
    return (1 - fx) * (1 - fy) * image.At(x0, y0) + fx * (1 - fy) * image.At(x0 + 1, y0) +
           (1 - fx) * fy * image.At(x0, y0 + 1) + fx * fy * image.At(x0 + 1, y0 + 1);
}

// Ridges crossed walking out from the core along one direction up to each
// of the count radii, as fractions; negative from where the walk leaves the
// finger. Also collects the spacing between ridge centres for the period.
void RidgesAlongRay(const GreyImage& image, const OrientationField& field, float cx, float cy, float angle,
                    float counts[kCountRadii], std::vector<float>* spacings) {
    constexpr int kStart = 6, kEnd = kCountRadius[kCountRadii - 1] + 16;
    int reach = kEnd;
    const float ux = std::cos(angle), uy = std::sin(angle);
    std::vector<float> signal;
    for (int t = kStart; t <= kEnd; ++t) {
        const float x = cx + t * ux, y = cy + t * uy;
        float ridge;
        const bool inside = x >= 4 && y >= 4 && x < image.width - 5 && y < image.height - 5;
        if (!inside || !field.RidgeAngle(x, y, &ridge, true)) {
            reach = t - 1;
            break;
        }
        // Average along the ridge so that noise does not split or join ridges.
        const float rx = std::cos(ridge), ry = std::sin(ridge);
        float sum = 0;
        int n = 0;
        for (int k = -3; k <= 3; ++k) {
            const float sx = x + k * rx, sy = y + k * ry;
            if (sx < 0 || sy < 0 || sx >= image.width - 1 || sy >= image.height - 1) continue;
            sum += Bilinear(image, sx, sy);
            ++n;
        }
        signal.push_back(sum / n);
    }
    for (int r = 0; r < kCountRadii; ++r) counts[r] = -1.0f;
    if (signal.size() < 8) return;
    float mean = 0;
    for (float v : signal) mean += v;
    mean /= signal.size();
    float deviation = 0;
    for (float v : signal) deviation += (v - mean) * (v - mean);
    deviation = std::sqrt(deviation / signal.size());
    const float low = mean - 0.3f * deviation, high = mean + 0.3f * deviation;

    // Ridges are dark: a centre is the darkest point between entering below
    // `low` and leaving above `high`.
    std::vector<float> centres;
    bool inRidge = false;
    float darkest = 0;
    int darkestAt = 0;
    for (size_t i = 0; i < signal.size(); ++i) {
        if (!inRidge && signal[i] < low) {
            inRidge = true;
            darkest = signal[i];
            darkestAt = static_cast<int>(i);
        } else if (inRidge) {
            if (signal[i] < darkest) {
                darkest = signal[i];
                darkestAt = static_cast<int>(i);
            }
            if (signal[i] > high) {
                inRidge = false;
                centres.push_back(static_cast<float>(kStart + darkestAt));
            }
        }
    }
    for (size_t i = 1; i < centres.size(); ++i) spacings->push_back(centres[i] - centres[i - 1]);
    for (int r = 0; r < kCountRadii; ++r) {
        const float radius = static_cast<float>(kCountRadius[r]);
        if (reach < radius) break;
        float count = 0;
        float previous = kStart;
        for (float centre : centres) {
            if (centre > radius) {
                count += (radius - previous) / (centre - previous);
                break;
            }
            count += 1.0f;
            previous = centre;
        }
        counts[r] = count;
    }
}

void PutBit(uint8_t* bits, int index) {
    bits[index / 8] |= static_cast<uint8_t>(1u << (index % 8));
}

// What measuring a press from a core needs besides the core: the image,
// its flow, the flow the ridges are counted along, and its minutiae, found
// once however many places the core is measured from.
class PressParts {
public:
    PressParts(const GreyImage& image, const OrientationField& field, const OrientationField& walked)
        : image(image), field(field), walked(walked) {}
    const std::vector<Minutia>& Minutiae() {
        if (!m_found) m_minutiae = FindMinutiae(image, field);
        m_found = true;
        return m_minutiae;
    }
    const GreyImage& image;
    const OrientationField& field;
    const OrientationField& walked;

private:
    std::vector<Minutia> m_minutiae;
    bool m_found = false;
};

// The minutiae nearest the core, as offsets from it; returns their number.
int PackMinutiae(std::vector<Minutia> minutiae, float cx, float cy, uint8_t* out) {
    auto distance = [&](const Minutia& m) { return (m.x - cx) * (m.x - cx) + (m.y - cy) * (m.y - cy); };
    std::sort(minutiae.begin(), minutiae.end(),
              [&](const Minutia& a, const Minutia& b) { return distance(a) < distance(b); });
    int count = 0;
    for (const Minutia& m : minutiae) {
        const int dx = static_cast<int>(std::lround(m.x - cx)), dy = static_cast<int>(std::lround(m.y - cy));
        if (count == kMaxMinutiae || std::abs(dx) > 127 || std::abs(dy) > 127) break;
        out[2 * count] = static_cast<uint8_t>(static_cast<int8_t>(dx));
        out[2 * count + 1] = static_cast<uint8_t>(static_cast<int8_t>(dy));
        ++count;
    }
    return count;
}

// The template of a press measured from the core (cx, cy): the flow
// sampled round it, the ridges counted out from it along the flow `walked`.
ExtractResult MeasureAround(PressParts& press, float cx, float cy, uint8_t out[kTemplateSize]) {
    const GreyImage& image = press.image;
    const OrientationField& field = press.field;
    std::memset(out, 0, kTemplateSize);
    uint8_t* orientation = out + kOrientationOffset;
    uint8_t* usable = out + kUsableOffset;
    int usableCount = 0;
    for (int ring = 0; ring < kRings; ++ring) {
        const float radius = static_cast<float>(kFirstRingRadius + ring * kRingStep);
        for (int sector = 0; sector < kSectors; ++sector) {
            const float angle = 2 * kPi * sector / kSectors;
            float ridge;
            if (!field.RidgeAngle(cx + radius * std::cos(angle), cy + radius * std::sin(angle), &ridge)) continue;
            float relative = std::fmod(ridge - angle, kPi);
            if (relative < 0) relative += kPi;
            const int level = static_cast<int>(std::lround(relative / kPi * kOrientationLevels)) % kOrientationLevels;
            const int index = ring * kSectors + sector;
            orientation[index / 2] |= static_cast<uint8_t>(level << (4 * (index % 2)));
            PutBit(usable, index);
            ++usableCount;
        }
    }
    if (usableCount < kMinUsableSamples) return ExtractResult::TooFewFeatures;

    std::vector<float> spacings;
    int usableCounts = 0;
    for (int sector = 0; sector < kSectors; ++sector) {
        float counts[kCountRadii];
        RidgesAlongRay(image, press.walked, cx, cy, 2 * kPi * sector / kSectors, counts, &spacings);
        for (int r = 0; r < kCountRadii; ++r) {
            out[kCountOffset + r * kSectors + sector] =
                counts[r] < 0 ? kUnusable : static_cast<uint8_t>(std::min(254.0f, std::round(counts[r] * 8)));
            usableCounts += counts[r] >= 0;
        }
    }
    // Ridges that end near the core leave the counts unusable: such a press
    // could not be compared by its flow, not even with itself.
    if (usableCounts < kMinSharedRidgeCounts) return ExtractResult::TooFewFeatures;
    float period = 0;
    if (!spacings.empty()) {
        std::nth_element(spacings.begin(), spacings.begin() + spacings.size() / 2, spacings.end());
        period = spacings[spacings.size() / 2];
    }

    out[0] = kTemplateTag;
    out[1] = static_cast<uint8_t>(std::clamp(field.MeanCoherence() * 100.0f, 0.0f, 100.0f));
    out[2] = static_cast<uint8_t>(std::clamp(period * 16.0f, 0.0f, 255.0f));
    out[3] = static_cast<uint8_t>(PackMinutiae(press.Minutiae(), cx, cy, out + kMinutiaeOffset));
    const int x = static_cast<int>(cx), y = static_cast<int>(cy);
    out[4] = static_cast<uint8_t>(x);
    out[5] = static_cast<uint8_t>(x >> 8);
    out[6] = static_cast<uint8_t>(y);
    out[7] = static_cast<uint8_t>(y >> 8);
    return ExtractResult::Ok;
}

// The template of a press: the core where circles of the field's flow wind
// round it, up to `gaps` points of each off the blocks with ridges.
// `windings` gets the points that wind with up to `moreGaps` more.
ExtractResult ExtractWith(PressParts& press, int gaps, int moreGaps, std::vector<Winding>* windings,
                          uint8_t out[kTemplateSize]) {
    std::memset(out, 0, kTemplateSize);
    *windings = WindingPoints(press.field, press.image.width, press.image.height, gaps + moreGaps);
    float cx = 0, cy = 0;
    if (!CoreOfWindings(press.field, *windings, gaps, &cx, &cy)) return ExtractResult::NoCore;
    return MeasureAround(press, cx, cy, out);
}

// The rough places where the core of a press may lie besides where the
// template puts it. The core is the centre of every point whose circle of
// flow winds, refined to where the innermost ridges fit circles best; in
// another press of the finger a point more or less winds, a delta shows or
// not, and the refining settles elsewhere. So: that centre before it is
// refined; the centre of the largest group of winding points alone; and the
// centre found with more of each circle let off the ridges.
int OtherCores(const OrientationField& field, const std::vector<Winding>& windings, int gaps, float xs[], float ys[]) {
    std::vector<Winding> points;
    for (const Winding& w : windings)
        if (w.missing <= gaps) points.push_back(w);
    if (points.empty()) return 0;
    int found = 0;
    // Groups of winding points that touch on the grid.
    constexpr int kTouching = 6;  // pixels, two steps of the grid
    std::vector<int> group(points.size(), -1);
    std::vector<int> sizes;
    for (size_t i = 0; i < points.size(); ++i) {
        if (group[i] >= 0) continue;
        const int g = static_cast<int>(sizes.size());
        sizes.push_back(0);
        std::vector<size_t> open{i};
        group[i] = g;
        while (!open.empty()) {
            const Winding& a = points[open.back()];
            open.pop_back();
            ++sizes[g];
            for (size_t j = 0; j < points.size(); ++j) {
                if (group[j] >= 0 || std::abs(a.x - points[j].x) > kTouching || std::abs(a.y - points[j].y) > kTouching)
                    continue;
                group[j] = g;
                open.push_back(j);
            }
        }
    }
    auto centre = [&](int only, float* x, float* y) {
        double sumX = 0, sumY = 0;
        int n = 0;
        for (size_t i = 0; i < points.size(); ++i) {
            if (only >= 0 && group[i] != only) continue;
            sumX += points[i].x;
            sumY += points[i].y;
            ++n;
        }
        *x = static_cast<float>(sumX / n);
        *y = static_cast<float>(sumY / n);
    };
    if (sizes.size() > 1) {
        float x, y;
        centre(static_cast<int>(std::max_element(sizes.begin(), sizes.end()) - sizes.begin()), &x, &y);
        RefineCore(field, x, y, &xs[found], &ys[found]);
        ++found;
    }
    centre(-1, &xs[found], &ys[found]);
    ++found;
    if (CoreOfWindings(field, windings, gaps + kOtherViewGaps, &xs[found], &ys[found])) ++found;
    return found;
}

// Appends to the template in `out` the press measured from each other
// place its core may lie that is not where the template or an earlier view
// has it, up to `most`; the template's last byte tells how many follow.
void AddOtherViews(PressParts& press, const std::vector<Winding>& windings, int gaps, uint8_t* out, int most) {
    constexpr float kSamePlace = 3.0f;  // pixels
    float xs[4], ys[4];
    xs[0] = static_cast<float>(out[4] | out[5] << 8);
    ys[0] = static_cast<float>(out[6] | out[7] << 8);
    const int cores = 1 + OtherCores(press.field, windings, gaps, xs + 1, ys + 1);
    int views = 0;
    for (int c = 1; c < cores && views < most; ++c) {
        bool seen = false;
        for (int before = 0; before < c; ++before) seen |= std::hypot(xs[c] - xs[before], ys[c] - ys[before]) < kSamePlace;
        if (seen) continue;
        views += MeasureAround(press, xs[c], ys[c], out + (1 + views) * kTemplateSize) == ExtractResult::Ok;
    }
    out[kViewCountOffset] = static_cast<uint8_t>(views);
}

}  // namespace

bool FingerPresent(const GreyImage& image) {
    if (image.width < 4 * kBlock || image.height < 4 * kBlock) return false;
    return OrientationField(image).FingerShare() >= kMinFingerShare;
}

ExtractResult ExtractTemplate(const GreyImage& image, uint8_t out[kTemplateSize]) {
    return ExtractLivePress(image, out, 0);
}

ExtractResult ExtractLivePress(const GreyImage& image, uint8_t* out, int mostOtherViews) {
    std::memset(out, 0, kTemplateSize);
    if (image.width < 4 * kBlock || image.height < 4 * kBlock) return ExtractResult::NoFinger;
    const OrientationField field(image);
    if (field.FingerShare() < kMinFingerShare) return ExtractResult::NoFinger;
    std::vector<Winding> windings;
    PressParts press(image, field, field);
    const int moreGaps = mostOtherViews > 0 ? kOtherViewGaps : 0;
    ExtractResult result = ExtractWith(press, 0, moreGaps, &windings, out);
    if (result == ExtractResult::Ok) {
        if (mostOtherViews > 0) AddOtherViews(press, windings, 0, out, mostOtherViews);
        return result;
    }
    // Ridges or valleys wider than a block near the core leave blocks of
    // one grey there, with no flow: no circle around the core, and no walk
    // out from it, stays on the finger. Such a press is measured again with
    // a quarter of each circle let through them and the walks bridging them.
    const OrientationField bridged = field.GapsBridged();
    PressParts bridgedPress(image, field, bridged);
    result = ExtractWith(bridgedPress, kCoreCircleGaps, moreGaps, &windings, out);
    if (result == ExtractResult::Ok && mostOtherViews > 0)
        AddOtherViews(bridgedPress, windings, kCoreCircleGaps, out, mostOtherViews);
    return result;
}

const char* ExtractResultText(ExtractResult result) {
    switch (result) {
        case ExtractResult::Ok: return "ok";
        case ExtractResult::NoFinger: return "no finger on the image";
        case ExtractResult::NoCore: return "no core found in the ridges";
        case ExtractResult::TooFewFeatures: return "the finger lies too far off the sensor";
    }
    return "unknown";
}
