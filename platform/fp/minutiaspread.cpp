#include "platform/fp/minutiaspread.h"

#include <emmintrin.h>

#include <algorithm>
#include <cstring>

#include "platform/fp/fptemplate.h"

namespace {

constexpr int kPairs = kSpreadMinutiae * (kSpreadMinutiae - 1) / 2;
// A pair's share of each of its two bins, in 16ths.
constexpr int kShareBits = 4;
constexpr int kShareSteps = 1 << kShareBits;
// Each pair adds two, in all, to the counts (a bin holds up to 15, and few
// hold more than a handful of pairs): a count is the shares' sum shifted
// down by this much.
constexpr int kShareShift = 3;
static_assert(kShareSteps >> kShareShift == 2, "a pair counts two");
// Where a minutia the press lacks lies: far from every other, so that its
// pairs fall past the last bin.
constexpr float kFarOff = 1000.0f;
static_assert(kSpreadMinutiae % 4 == 0 && kMinutiaeOffset + 2 * kSpreadMinutiae <= kTemplateSize,
              "the minutiae are read four at a time");

// Minutiae i .. i + 3 of the template, as offsets from the core; those the
// press lacks far off, each apart from the others.
void LoadFour(const uint8_t* templateBytes, int count, int i, float* x, float* y) {
    int64_t eight;
    std::memcpy(&eight, templateBytes + kMinutiaeOffset + 2 * i, sizeof eight);
    // Each byte the high half of a 16-bit word: x in bits 8..15 of a 32-bit
    // lane, y in bits 24..31, shifted down with their signs.
    const __m128i words = _mm_unpacklo_epi8(_mm_setzero_si128(), _mm_cvtsi64_si128(eight));
    const __m128 xs = _mm_cvtepi32_ps(_mm_srai_epi32(_mm_slli_epi32(words, 16), 24));
    const __m128 ys = _mm_cvtepi32_ps(_mm_srai_epi32(words, 24));
    const __m128i lane = _mm_add_epi32(_mm_set1_epi32(i), _mm_setr_epi32(0, 1, 2, 3));
    const __m128 lacking = _mm_castsi128_ps(_mm_cmpgt_epi32(lane, _mm_set1_epi32(count - 1)));
    const __m128 far = _mm_mul_ps(_mm_set1_ps(kFarOff), _mm_cvtepi32_ps(_mm_add_epi32(lane, _mm_set1_epi32(1))));
    _mm_store_ps(x, _mm_or_ps(_mm_and_ps(lacking, far), _mm_andnot_ps(lacking, xs)));
    _mm_store_ps(y, _mm_andnot_ps(lacking, ys));
}

}  // namespace

// The template store works this out for both presses of every finger it
// holds when it fills at start: four at a time, and the two bins of a pair
// counted in one addition.
void MinutiaSpread(const uint8_t* templateBytes, uint8_t spread[kSpreadBytes]) {
    const int count = std::min<int>(templateBytes[3], kSpreadMinutiae);
    // With four more lanes, read past the last minutia but never used.
    alignas(16) float x[kSpreadMinutiae + 4] = {}, y[kSpreadMinutiae + 4] = {};
    for (int i = 0; i < kSpreadMinutiae; i += 4) LoadFour(templateBytes, count, i, x + i, y + i);
    // Per pair, in one word: in the top byte the bin at or below its
    // distance (offset by one, so that a distance below the first bin's
    // centre has one), below it its shares of that bin (bits 0..15) and of
    // the next (bits 16..23). Each minutia is paired with those after it,
    // four at a time; the four written past a row's end are written over by
    // the next row.
    alignas(16) uint32_t pairs[kPairs + 4];
    // In kShareSteps-ths of a bin from the centre of the bin before the
    // first (so never below zero), rounded: the bin below in the high bits,
    // the share of the next in the low ones.
    const __m128 perStep = _mm_set1_ps(static_cast<float>(kShareSteps) / kSpreadBinPixels);
    const __m128 fromBefore = _mm_set1_ps(kShareSteps / 2 + 0.5f), last = _mm_set1_ps((kSpreadBins + 1.0f) * kShareSteps);
    const __m128i shareBits = _mm_set1_epi32(kShareSteps - 1), whole = _mm_set1_epi32(kShareSteps);
    int done = 0;
    for (int i = 0; i + 1 < kSpreadMinutiae; ++i) {
        const __m128 xi = _mm_set1_ps(x[i]), yi = _mm_set1_ps(y[i]);
        for (int j = i + 1; j < kSpreadMinutiae; j += 4) {
            const __m128 dx = _mm_sub_ps(_mm_loadu_ps(x + j), xi), dy = _mm_sub_ps(_mm_loadu_ps(y + j), yi);
            const __m128 distance = _mm_sqrt_ps(_mm_add_ps(_mm_mul_ps(dx, dx), _mm_mul_ps(dy, dy)));
            const __m128i at = _mm_cvttps_epi32(_mm_min_ps(_mm_add_ps(_mm_mul_ps(distance, perStep), fromBefore), last));
            const __m128i share = _mm_and_si128(at, shareBits);
            const __m128i word = _mm_or_si128(_mm_slli_epi32(_mm_srli_epi32(at, kShareBits), 24),
                                              _mm_add_epi32(_mm_sub_epi32(whole, share), _mm_slli_epi32(share, 16)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(pairs + done + (j - i - 1)), word);
        }
        done += kSpreadMinutiae - 1 - i;
    }
    // A bin's count is the low half of its word and the high half of the
    // word before. The bin before the first and the one beyond the last,
    // where distances too long for the bins end, take shares like the others.
    alignas(16) uint32_t words[kSpreadBins + 4] = {};
#pragma GCC unroll 4
    for (int k = 0; k < kPairs; ++k) words[pairs[k] >> 24] += pairs[k] & 0xFFFFFF;
    // Scaled, rounded and packed, sixteen bins at a time.
    const __m128i lowHalf = _mm_set1_epi32(0xFFFF), most = _mm_set1_epi16(15), lowByte = _mm_set1_epi16(0xFF);
    const __m128i rounding = _mm_set1_epi32(1 << (kShareShift - 1));
    for (int b = 0; b < kSpreadBins; b += 16) {
        __m128i counts[4];
        for (int q = 0; q < 4; ++q) {
            const __m128i own = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(words + b + 4 * q + 1)), lowHalf);
            const __m128i before = _mm_srli_epi32(_mm_load_si128(reinterpret_cast<const __m128i*>(words + b + 4 * q)), 16);
            counts[q] = _mm_srli_epi32(_mm_add_epi32(_mm_add_epi32(own, before), rounding), kShareShift);
        }
        // As bytes up to 15; then each two bins' 16-bit word folded into a
        // byte, the odd bin in the high half.
        const __m128i bins = _mm_packus_epi16(_mm_min_epi16(_mm_packs_epi32(counts[0], counts[1]), most),
                                              _mm_min_epi16(_mm_packs_epi32(counts[2], counts[3]), most));
        const __m128i folded = _mm_and_si128(_mm_or_si128(bins, _mm_srli_epi16(bins, 4)), lowByte);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(spread + b / 2), _mm_packus_epi16(folded, folded));
    }
}
