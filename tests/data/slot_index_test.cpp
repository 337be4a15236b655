// The slot index under hashes chosen to collide and to run past the end
// of its table, where erasing is easiest to get wrong: every slot must
// stay findable after any run of inserts and erases.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "data/SlotIndex.h"

namespace {

TEST(SlotIndexTest, EverySlotStaysFindableThroughCollisionsAndWrapping) {
    constexpr int kSlots = 6;
    SlotIndex index;
    index.Reset(kSlots);  // 32 buckets
    // Keys are slot numbers here; hashes crowd near the end of the table
    // so that runs wrap round to its start.
    std::map<int, size_t> stored;  // slot -> hash
    // As the store does: a slot holds the key when its number and hash agree.
    auto find = [&](int key, size_t hash) {
        return index.Find(hash, [&](int slot) {
            const auto held = stored.find(slot);
            return slot == key && held != stored.end() && held->second == hash;
        });
    };
    std::mt19937 random(7);
    const size_t hashes[] = {29, 30, 31, 31 + 32, 0, 1, 30 + 64};
    for (int step = 0; step < 20000; ++step) {
        const int key = static_cast<int>(random() % kSlots);
        const auto at = stored.find(key);
        if (at == stored.end()) {
            const size_t hash = hashes[random() % std::size(hashes)];
            index.Insert(hash, key);
            stored[key] = hash;
        } else if (random() % 4 == 0 && stored.size() < kSlots) {
            // Renumbered to a free number, as the store moves its last slot.
            int to = 0;
            while (stored.count(to)) ++to;
            index.Renumber(at->second, key, to);
            stored[to] = at->second;
            stored.erase(at);
        } else {
            index.Erase(at->second, key);
            stored.erase(at);
        }
        for (int key2 = 0; key2 < kSlots; ++key2) {
            const auto held = stored.find(key2);
            for (size_t hash : hashes) {
                const bool present = held != stored.end() && held->second == hash;
                ASSERT_EQ(find(key2, hash), present ? key2 : -1) << "step " << step << " slot " << key2;
            }
        }
    }
}

}  // namespace
