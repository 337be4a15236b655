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
    int index = -1;
    if (store.GetTemplateSize() == MatchRecordSize && g_FpLib.VeltoMatch2N) {
        int score = 0;
        int press = 0;
        index = g_FpLib.VeltoMatch2N(live, store.GetTemplates(), store.GetCount(), &score, &press, level);
    } else if (store.GetTemplateSize() != MatchRecordSize && g_FpLib.VeltoMatchN) {
        index = g_FpLib.VeltoMatchN(live, store.GetTemplates(), store.GetCount(), level);
    }
    int finger = -1;
    const bool found = index >= 0 && store.GetEntry(index, userId, finger);
    LeaveCriticalSection(&g_csTemplateStore);
    return found ? FingerResult::Known : FingerResult::Unknown;
}
