// The level the administrator's finger check asks of the matcher: FPLEVEL x
// 2 + 5 for whatever number the field holds, saturated where the level
// would leave an int, so that no number wraps round to the other end.
#include <gtest/gtest.h>

#include <climits>

#include "core/FpLibraries.h"
#include "core/MachineConfig.h"
#include "data/FPTemplateStore.h"
#include "panel/FingerIdentify.h"

namespace {

int g_askedLevel = 0;

int ProcessAnything(const BYTE*, BYTE*, BYTE*, int, int) { return 0; }
int MatchNobody2N(const BYTE*, const BYTE*, int, int*, int*, int level) {
    g_askedLevel = level;
    return -1;
}
int MatchNobody2NViews(const BYTE*, int, const BYTE*, int, int*, int*, int level) {
    g_askedLevel = level;
    return -1;
}

class FingerLevelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_saved = g_FpLib;
        g_FpLib.VeltoProcess = ProcessAnything;
        g_FpLib.VeltoMatch2N = MatchNobody2N;
        g_FpLib.VeltoMatch2NViews = MatchNobody2NViews;
        g_pFPTemplateStore = &m_store;
    }
    void TearDown() override {
        g_FpLib = m_saved;
        g_pFPTemplateStore = nullptr;
        g_MachineConfig.FPLEVEL = 0;
    }
    int LevelAskedWith(int fpLevel) {
        g_MachineConfig.FPLEVEL = fpLevel;
        g_askedLevel = 0;
        const BYTE image[1] = {};
        CString userId;
        EXPECT_EQ(IdentifyFinger(image, userId), FingerResult::Unknown);
        return g_askedLevel;
    }

    FpLibraryTable m_saved;
    CFPTemplateStore m_store;
};

TEST_F(FingerLevelTest, TheLevelIsTwiceTheStoredNumberPlusFiveAndNeverWraps) {
    EXPECT_EQ(LevelAskedWith(0), 5);
    EXPECT_EQ(LevelAskedWith(1), 7);
    EXPECT_EQ(LevelAskedWith(9), 23);
    EXPECT_EQ(LevelAskedWith(-1), 3) << "a number below the usual one asks as it says";
    EXPECT_EQ(LevelAskedWith(1073741824), INT_MAX) << "not wrapped to the most lenient level";
    EXPECT_EQ(LevelAskedWith(INT_MAX), INT_MAX);
    EXPECT_EQ(LevelAskedWith(INT_MIN), INT_MIN) << "not wrapped to the strictest level";
}

}  // namespace
