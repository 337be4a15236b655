#include "platform/fp/orientfield.h"

#include <algorithm>
#include <cmath>

#include "platform/fp/fastmath.h"

namespace {

constexpr float kMinBlockDeviation = 22.0f;  // grey levels; sensor noise alone stays below

// How well ridges circle the point (cx, cy) between the two radii: 1 for
// perfect circles.
float CoreFit(const OrientationField& field, float cx, float cy, float inner, float outer) {
    float fit = 0, total = 0;
    const int bx0 = std::max(0, static_cast<int>((cx - outer) / kBlock));
    const int bx1 = std::min(field.Cols() - 1, static_cast<int>((cx + outer) / kBlock));
    const int by0 = std::max(0, static_cast<int>((cy - outer) / kBlock));
    const int by1 = std::min(field.Rows() - 1, static_cast<int>((cy + outer) / kBlock));
    for (int by = by0; by <= by1; ++by) {
        for (int bx = bx0; bx <= bx1; ++bx) {
            const float dx = bx * kBlock + kBlock / 2.0f - cx;
            const float dy = by * kBlock + kBlock / 2.0f - cy;
            const float r2 = dx * dx + dy * dy;
            if (r2 < inner * inner || r2 > outer * outer) continue;
            total += 1.0f;
            // The tangent's doubled angle is the radius's plus a half turn.
            fit -= (field.RawCos2(bx, by) * (dx * dx - dy * dy) + field.RawSin2(bx, by) * 2 * dx * dy) / r2;
        }
    }
    return total > 0 ? fit / total : 0.0f;
}

// Whether the doubled angles of all the flow vectors lie within 84 degrees
// of the first one's. Any two ridge directions then differ by less than a
// quarter turn (84 of 90 degrees), no step along the circle is folded by a
// half turn, and the Poincare index adds up to nothing whatever the rounding
// of each angle: the points need not be turned into angles.
bool WithinAQuarterTurn(const float* cos2, const float* sin2, int n) {
    constexpr float kLeastCosSquared = 0.01f;  // cos(84 degrees) squared
    const float length0 = cos2[0] * cos2[0] + sin2[0] * sin2[0];
    for (int k = 0; k < n; ++k) {
        const float dot = cos2[k] * cos2[0] + sin2[k] * sin2[0];
        const float length = cos2[k] * cos2[k] + sin2[k] * sin2[k];
        if (dot <= 0 || dot * dot <= kLeastCosSquared * length * length0) return false;
    }
    return true;
}

}  // namespace

OrientationField::OrientationField(const GreyImage& image)
    : m_cols(image.width / kBlock), m_rows(image.height / kBlock),
      m_cos(Size()), m_sin(Size()), m_finger(Size()), m_ridged(Size()), m_rawCos(Size()), m_rawSin(Size()) {
    for (int by = 0; by < m_rows; ++by) {
        for (int bx = 0; bx < m_cols; ++bx) MeasureBlock(image, bx, by);
    }
    for (int by = 0; by < m_rows; ++by) {
        for (int bx = 0; bx < m_cols; ++bx) {
            float c = 0, s = 0;
            int n = 0;
            for (int dy = -2; dy <= 2; ++dy) {
                for (int dx = -2; dx <= 2; ++dx) {
                    const int x = bx + dx, y = by + dy;
                    if (x < 0 || y < 0 || x >= m_cols || y >= m_rows || !m_ridged[Index(x, y)]) continue;
                    c += m_rawCos[Index(x, y)];
                    s += m_rawSin[Index(x, y)];
                    ++n;
                }
            }
            const int i = Index(bx, by);
            if (n > 0 && m_ridged[i]) {
                m_cos[i] = c / n;
                m_sin[i] = s / n;
                m_finger[i] = std::sqrt(m_cos[i] * m_cos[i] + m_sin[i] * m_sin[i]) > 0.25f;
            }
        }
    }
}

bool OrientationField::Enclosed(int bx, int by) const {
    constexpr int kReach = 4;  // blocks
    constexpr int kSteps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    int sides = 0;
    for (const auto& step : kSteps) {
        for (int k = 1; k <= kReach; ++k) {
            const int x = bx + k * step[0], y = by + k * step[1];
            if (x < 0 || y < 0 || x >= m_cols || y >= m_rows) break;
            if (m_ridged[Index(x, y)]) {
                ++sides;
                break;
            }
        }
    }
    return sides >= 3;
}

OrientationField OrientationField::GapsBridged() const {
    OrientationField bridged = *this;
    std::vector<int> gaps;
    for (int by = 0; by < m_rows; ++by) {
        for (int bx = 0; bx < m_cols; ++bx) {
            if (!m_ridged[Index(bx, by)] && Enclosed(bx, by)) gaps.push_back(Index(bx, by));
        }
    }
    // From the edges of each gap inwards, each block the mean of the
    // neighbours that have a flow.
    while (!gaps.empty()) {
        std::vector<int> left;
        std::vector<std::pair<int, std::pair<float, float>>> filled;
        for (int i : gaps) {
            const int bx = i % m_cols, by = i / m_cols;
            float c = 0, s = 0;
            int n = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = bx + dx, y = by + dy;
                    if (x < 0 || y < 0 || x >= m_cols || y >= m_rows || !bridged.m_ridged[Index(x, y)]) continue;
                    c += bridged.m_cos[Index(x, y)];
                    s += bridged.m_sin[Index(x, y)];
                    ++n;
                }
            }
            if (n >= 3) filled.push_back({i, {c / n, s / n}});
            else left.push_back(i);
        }
        if (filled.empty()) break;
        for (const auto& [i, flow] : filled) {
            bridged.m_cos[i] = flow.first;
            bridged.m_sin[i] = flow.second;
            bridged.m_ridged[i] = 1;
        }
        gaps.swap(left);
    }
    return bridged;
}

float OrientationField::FingerShare() const {
    if (m_finger.empty()) return 0.0f;
    return static_cast<float>(std::count(m_finger.begin(), m_finger.end(), 1)) / m_finger.size();
}

float OrientationField::MeanCoherence() const {
    float sum = 0;
    int n = 0;
    for (int i = 0; i < Size(); ++i) {
        if (!m_finger[i]) continue;
        sum += std::sqrt(m_cos[i] * m_cos[i] + m_sin[i] * m_sin[i]);
        ++n;
    }
    return n ? sum / n : 0.0f;
}

bool OrientationField::Flow(float x, float y, float* cos2, float* sin2, bool nearCore) const {
    const float gx = x / kBlock - 0.5f;
    const float gy = y / kBlock - 0.5f;
    const int x0 = static_cast<int>(std::floor(gx));
    const int y0 = static_cast<int>(std::floor(gy));
    if (x0 < 0 || y0 < 0 || x0 + 1 >= m_cols || y0 + 1 >= m_rows) return false;
    const float fx = gx - x0, fy = gy - y0;
    const float weights[4] = {(1 - fx) * (1 - fy), fx * (1 - fy), (1 - fx) * fy, fx * fy};
    const int cells[4] = {Index(x0, y0), Index(x0 + 1, y0), Index(x0, y0 + 1), Index(x0 + 1, y0 + 1)};
    const std::vector<uint8_t>& covered = nearCore ? m_ridged : m_finger;
    float inside = 0;
    for (int k = 0; k < 4; ++k) inside += weights[k] * covered[cells[k]];
    if (inside < 0.5f) return false;
    float c = 0, s = 0;
    for (int k = 0; k < 4; ++k) {
        c += weights[k] * m_cos[cells[k]];
        s += weights[k] * m_sin[cells[k]];
    }
    *cos2 = c;
    *sin2 = s;
    return true;
}

bool OrientationField::RidgeAngle(float x, float y, float* angle, bool nearCore) const {
    float c, s;
    if (!Flow(x, y, &c, &s, nearCore)) return false;
    *angle = RidgeAngleOf(c, s);
    return true;
}

float RidgeAngleOf(float cos2, float sin2) {
    float a = 0.5f * FastAtan2(sin2, cos2);
    if (a < 0) a += kPi;
    return a;
}

float OrientationField::BlockAngle(int bx, int by) const {
    const int i = Index(bx, by);
    float c = m_cos[i], s = m_sin[i];
    if (c * c + s * s < 0.01f) {
        c = m_rawCos[i];
        s = m_rawSin[i];
    }
    float a = 0.5f * FastAtan2(s, c);
    if (a < 0) a += kPi;
    return a;
}

void OrientationField::MeasureBlock(const GreyImage& image, int bx, int by) {
    double gxx = 0, gyy = 0, gxy = 0, sum = 0, sumSq = 0;
    for (int y = by * kBlock; y < (by + 1) * kBlock; ++y) {
        for (int x = bx * kBlock; x < (bx + 1) * kBlock; ++x) {
            const int v = image.At(x, y);
            sum += v;
            sumSq += v * v;
            if (x < 1 || y < 1 || x + 1 >= image.width || y + 1 >= image.height) continue;
            const int gx = (image.At(x + 1, y - 1) + 2 * image.At(x + 1, y) + image.At(x + 1, y + 1)) -
                           (image.At(x - 1, y - 1) + 2 * image.At(x - 1, y) + image.At(x - 1, y + 1));
            const int gy = (image.At(x - 1, y + 1) + 2 * image.At(x, y + 1) + image.At(x + 1, y + 1)) -
                           (image.At(x - 1, y - 1) + 2 * image.At(x, y - 1) + image.At(x + 1, y - 1));
            gxx += gx * gx;
            gyy += gy * gy;
            gxy += gx * gy;
        }
    }
    const double n = kBlock * kBlock;
    const double deviation = std::sqrt(std::max(0.0, sumSq / n - (sum / n) * (sum / n)));
    const double energy = gxx + gyy;
    const int i = Index(bx, by);
    if (deviation < kMinBlockDeviation || energy <= 0) return;
    // Ridges run across the gradient: turn the doubled angle by a half turn.
    m_rawCos[i] = static_cast<float>(-(gxx - gyy) / energy);
    m_rawSin[i] = static_cast<float>(-2.0 * gxy / energy);
    m_ridged[i] = 1;
}


// Ridges turn a full turn around a whorl's core; in the smoothed flow the
// core often shows as two half-turn points side by side. The Poincare index
// on a small circle is non-zero when the circle holds either. Up to `gaps`
// points of a circle, no more than about a block's worth in a row, may lie
// where the flow is missing; the index is then taken round the others.
std::vector<Winding> WindingPoints(const OrientationField& field, int width, int height, int gaps) {
    constexpr float kRadius = 16.0f;
    constexpr int kPoints = 24;
    constexpr int kStep = 3;
    constexpr int kLongestGap = 3;  // points in a row: about a block
    float circleCos[kPoints], circleSin[kPoints];
    for (int k = 0; k < kPoints; ++k) {
        circleCos[k] = kRadius * std::cos(2 * kPi * k / kPoints);
        circleSin[k] = kRadius * std::sin(2 * kPi * k / kPoints);
    }
    std::vector<Winding> points;
    for (int y = static_cast<int>(kRadius) + 8; y < height - kRadius - 8; y += kStep) {
        for (int x = static_cast<int>(kRadius) + 8; x < width - kRadius - 8; x += kStep) {
            float flowCos[kPoints], flowSin[kPoints];
            int n = 0, missing = 0, run = 0, longest = 0, leading = 0;
            for (int k = 0; k < kPoints && missing <= gaps; ++k) {
                if (field.Flow(x + circleCos[k], y + circleSin[k], &flowCos[n], &flowSin[n], true)) {
                    if (n++ == 0) leading = run;
                    run = 0;
                } else {
                    ++missing;
                    longest = std::max(longest, ++run);
                }
            }
            // The run that ends the circle goes on into the one that starts it.
            longest = std::max(longest, run + leading);
            if (missing > gaps || longest > kLongestGap || WithinAQuarterTurn(flowCos, flowSin, n)) continue;
            float first = 0, previous = 0, turned = 0;
            for (int k = 0; k <= n; ++k) {
                float angle = RidgeAngleOf(flowCos[k % n], flowSin[k % n]);
                if (k == 0) first = previous = angle;
                if (k == n) angle = first;
                float step = angle - previous;
                if (step > kPi / 2) step -= kPi;
                if (step < -kPi / 2) step += kPi;
                turned += step;
                previous = angle;
            }
            if (std::fabs(turned) > kPi / 2) points.push_back({x, y, missing});
        }
    }
    return points;
}

// The innermost ridges circle the core most closely: the core is refined
// to where they fit circles best, near the rough place.
void RefineCore(const OrientationField& field, float roughX, float roughY, float* coreX, float* coreY) {
    float best = -2.0f;
    for (int dy = -8; dy <= 8; ++dy) {
        for (int dx = -8; dx <= 8; ++dx) {
            const float fit = CoreFit(field, roughX + dx, roughY + dy, 4.0f, 28.0f);
            if (fit > best) {
                best = fit;
                *coreX = roughX + dx;
                *coreY = roughY + dy;
            }
        }
    }
}

bool CoreOfWindings(const OrientationField& field, const std::vector<Winding>& points, int gaps, float* coreX,
                    float* coreY) {
    double sumX = 0, sumY = 0;
    int count = 0;
    for (const Winding& p : points) {
        if (p.missing > gaps) continue;
        sumX += p.x;
        sumY += p.y;
        ++count;
    }
    if (count == 0) return false;
    RefineCore(field, static_cast<float>(sumX / count), static_cast<float>(sumY / count), coreX, coreY);
    return true;
}
