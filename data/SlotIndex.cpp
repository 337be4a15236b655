#include "data/SlotIndex.h"

#include <bit>

void SlotIndex::Reset(int slots) {
    // At most a quarter full, so probes stay short.
    const size_t buckets = std::bit_ceil(static_cast<size_t>(slots > 0 ? slots : 1) * 4);
    m_buckets.assign(buckets, -1);
    m_hashes.assign(buckets, 0);
    m_mask = buckets - 1;
}

void SlotIndex::Insert(size_t hash, int slot) {
    size_t b = Home(hash);
    while (m_buckets[b] >= 0) b = Next(b);
    m_buckets[b] = slot;
    m_hashes[b] = hash;
}

size_t SlotIndex::BucketOf(size_t hash, int slot) const {
    size_t b = Home(hash);
    while (m_buckets[b] != slot) b = Next(b);
    return b;
}

void SlotIndex::Erase(size_t hash, int slot) {
    // Without markers for erased entries: every later entry of the run
    // that could not have been placed at its home moves back into the
    // hole, so that no look-up stops short of it.
    size_t hole = BucketOf(hash, slot);
    for (size_t b = Next(hole); m_buckets[b] >= 0; b = Next(b)) {
        const size_t home = Home(m_hashes[b]);
        // Whether `home` lies cyclically in (hole, b]: then the entry must stay.
        const bool staysPut = hole <= b ? (hole < home && home <= b) : (hole < home || home <= b);
        if (staysPut) continue;
        m_buckets[hole] = m_buckets[b];
        m_hashes[hole] = m_hashes[b];
        hole = b;
    }
    m_buckets[hole] = -1;
}

void SlotIndex::Renumber(size_t hash, int from, int to) { m_buckets[BucketOf(hash, from)] = to; }
