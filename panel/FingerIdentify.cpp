#include "panel/FingerIdentify.h"

#include <algorithm>
#include <climits>
#include <vector>

#include "core/FpLibraries.h"
#include "core/MachineConfig.h"
#include "data/DataLocks.h"
#include "data/FPTemplateStore.h"
#include "platform/base/sync.h"

namespace {

constexpr int kWorkBytes = 280 * 280;

// FPLEVEL x 2 + 5, worked out wide: a stored number whose level the
// matcher's int cannot hold asks for the nearest one it can, never for a
// level wrapped round to the other end.
int MatchLevel(int fpLevel) {
    return static_cast<int>(std::clamp<long long>(fpLevel * 2LL + 5, INT_MIN, INT_MAX));
}

// The search the store's kind of template takes, with the press's views
// where the library has such a search; -1 when it has none.
int SearchStore(const BYTE (&live)[LivePressSize], CFPTemplateStore& store, int level) {
    const BYTE* templates = store.GetTemplates();
    const int count = store.GetCount();
    int score = 0, press = 0;
    if (store.GetTemplateSize() == MatchRecordSize) {
        if (g_FpLib.VeltoMatch2NViews)
            return g_FpLib.VeltoMatch2NViews(live, LivePressSize, templates, count, &score, &press, level);
        return g_FpLib.VeltoMatch2N ? g_FpLib.VeltoMatch2N(live, templates, count, &score, &press, level) : -1;
    }
    if (g_FpLib.VeltoMatchNViews) return g_FpLib.VeltoMatchNViews(live, LivePressSize, templates, count, level);
    return g_FpLib.VeltoMatchN ? g_FpLib.VeltoMatchN(live, templates, count, level) : -1;
}

}  // namespace

FingerResult IdentifyFinger(const BYTE* image, CString& userId) {
    if (g_pFPTemplateStore == nullptr || g_FpLib.VeltoProcess == nullptr) return FingerResult::Unusable;
    // The press with the further views of it that the search tries where
    // its template names nobody.
    BYTE live[LivePressSize] = {};
    std::vector<BYTE> work(kWorkBytes);
    if (g_FpLib.VeltoProcess(image, live, work.data(), 0, 1) != 0) return FingerResult::Unusable;
    const int level = MatchLevel(g_MachineConfig.FPLEVEL);
    CFPTemplateStore& store = *g_pFPTemplateStore;
    // The store must not change between the search and reading its slot.
    EnterCriticalSection(&g_csTemplateStore);
    const int index = SearchStore(live, store, level);
    int finger = -1;
    const bool found = index >= 0 && store.GetEntry(index, userId, finger);
    LeaveCriticalSection(&g_csTemplateStore);
    return found ? FingerResult::Known : FingerResult::Unknown;
}
