#include "panel/FingerIdentify.h"

#include <vector>

#include "core/FpLibraries.h"
#include "core/MachineConfig.h"
#include "core/SettingRanges.h"
#include "data/DataLocks.h"
#include "data/FPTemplateStore.h"
#include "platform/base/sync.h"

namespace {

constexpr int kWorkBytes = 280 * 280;

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
    // Within its range however the field was set, so that the level never
    // wraps to the matcher's most lenient one.
    const int level = ClampSetting(u"FPLEVEL", g_MachineConfig.FPLEVEL) * 2 + 5;
    CFPTemplateStore& store = *g_pFPTemplateStore;
    // The store must not change between the search and reading its slot.
    EnterCriticalSection(&g_csTemplateStore);
    const int index = SearchStore(live, store, level);
    int finger = -1;
    const bool found = index >= 0 && store.GetEntry(index, userId, finger);
    LeaveCriticalSection(&g_csTemplateStore);
    return found ? FingerResult::Known : FingerResult::Unknown;
}
