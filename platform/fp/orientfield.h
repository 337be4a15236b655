// The ridge flow of a fingerprint image: per 8x8 block, the ridge direction
// as a doubled-angle vector, smoothed over the neighbouring blocks; the
// vector's length is how coherent the flow is. And the core it circles.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/fp/greyimage.h"

constexpr float kPi = 3.14159265358979f;
constexpr int kBlock = 8;

class OrientationField {
public:
    explicit OrientationField(const GreyImage& image);

    int Cols() const { return m_cols; }
    int Rows() const { return m_rows; }
    bool Finger(int bx, int by) const { return m_finger[Index(bx, by)] != 0; }
    float Cos2(int bx, int by) const { return m_cos[Index(bx, by)]; }
    float Sin2(int bx, int by) const { return m_sin[Index(bx, by)]; }
    // The block's own flow, before smoothing (0 where it shows no ridges).
    float RawCos2(int bx, int by) const { return m_rawCos[Index(bx, by)]; }
    float RawSin2(int bx, int by) const { return m_rawSin[Index(bx, by)]; }

    float FingerShare() const;
    float MeanCoherence() const;

    // Ridge direction (0..pi) at a pixel, interpolated between block
    // centres; false off the finger. Near a core the flow turns within a
    // block: `nearCore` accepts blocks with ridges but no single direction.
    bool RidgeAngle(float x, float y, float* angle, bool nearCore = false) const;
    // The same flow as a doubled-angle vector, before it is turned into an
    // angle by RidgeAngleOf.
    bool Flow(float x, float y, float* cos2, float* sin2, bool nearCore = false) const;
    // The block's direction (0..pi), raw where smoothing cancelled it out.
    float BlockAngle(int bx, int by) const;
    bool Ridged(int bx, int by) const { return m_ridged[Index(bx, by)] != 0; }

    // The same field with its gaps bridged: blocks of one grey (inside a
    // ridge or valley wider than a block) that ridges enclose take the flow
    // of their neighbours, so that a walk out from a core drawn in such
    // wide strokes stays on the finger.
    OrientationField GapsBridged() const;

private:
    int Size() const { return m_cols * m_rows; }
    int Index(int bx, int by) const { return by * m_cols + bx; }

    void MeasureBlock(const GreyImage& image, int bx, int by);
    // Whether ridged blocks lie close by on three sides of the block or more.
    bool Enclosed(int bx, int by) const;

    int m_cols, m_rows;
    std::vector<float> m_cos, m_sin;
    std::vector<uint8_t> m_finger;
    // Blocks with ridge contrast, coherent or not (the core's blocks are not).
    std::vector<uint8_t> m_ridged;
    std::vector<float> m_rawCos, m_rawSin;
};

// The ridge direction (0..pi) of a doubled-angle vector.
float RidgeAngleOf(float cos2, float sin2);

// A point of a grid over the image whose small circle of flow winds round
// (a core or a delta), with how many points of that circle lay off the
// blocks with ridges. `gaps` points of each circle, no more than about a
// block's worth in a row, may lie there.
struct Winding {
    int x, y, missing;
};
std::vector<Winding> WindingPoints(const OrientationField& field, int width, int height, int gaps);
// The core near a rough place, where the innermost ridges fit circles best.
void RefineCore(const OrientationField& field, float roughX, float roughY, float* coreX, float* coreY);
// The core of a whorl: the centre of the points that wind with at most
// `gaps` points of their circle off the ridges, refined; false for none.
bool CoreOfWindings(const OrientationField& field, const std::vector<Winding>& points, int gaps, float* coreX,
                    float* coreY);
