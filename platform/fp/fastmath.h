// A quick arc tangent for the per-pixel work of the generator and the
// feature extraction (error below 0.0015 radians), the same on every host.
#pragma once

#include <cmath>

inline float FastAtan2(float y, float x) {
    constexpr float kPi = 3.14159265358979f;
    const float ax = std::fabs(x), ay = std::fabs(y);
    if (ax == 0.0f && ay == 0.0f) return 0.0f;
    const float ratio = ax > ay ? ay / ax : ax / ay;
    const float r2 = ratio * ratio;
    float angle = ((-0.0464964749f * r2 + 0.15931422f) * r2 - 0.327622764f) * r2 * ratio + ratio;
    if (ay > ax) angle = kPi / 2 - angle;
    if (x < 0) angle = kPi - angle;
    return y < 0 ? -angle : angle;
}
