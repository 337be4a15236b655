// Which slot holds a key, for a table whose keys live in its own slots:
// an open-addressed table of slot numbers and their hashes, probed
// linearly, so that a look-up allocates nothing and an insert writes one
// number. The caller says whether a slot of the right hash holds the key
// sought.
#pragma once

#include <cstddef>
#include <vector>

class SlotIndex {
public:
    // Room for `slots` slots, all absent.
    void Reset(int slots);

    // The slot found under `hash` that `holdsKey` accepts, or -1.
    template <class HoldsKey>
    int Find(size_t hash, HoldsKey holdsKey) const {
        for (size_t b = Home(hash);; b = Next(b)) {
            const int slot = m_buckets[b];
            if (slot < 0) return -1;
            if (m_hashes[b] == hash && holdsKey(slot)) return slot;
        }
    }
    // `slot`, absent until now, is found under `hash`.
    void Insert(size_t hash, int slot);
    // `slot`, found under `hash`, is no longer.
    void Erase(size_t hash, int slot);
    // `from`, found under `hash`, is found as `to` instead.
    void Renumber(size_t hash, int from, int to);

private:
    size_t Home(size_t hash) const { return hash & m_mask; }
    size_t Next(size_t b) const { return (b + 1) & m_mask; }
    size_t BucketOf(size_t hash, int slot) const;

    std::vector<int> m_buckets;
    // The hash of the slot in each bucket: most other keys are passed
    // over without a look at the slot, and moving entries during an erase
    // needs no key.
    std::vector<size_t> m_hashes;
    size_t m_mask = 0;
};
