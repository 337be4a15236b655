#ifdef QUILLON_FP_LIBRARY_DIR
#include "core/FpLibraries.h"
#include "core/ProcessExit.h"
#include "tests/core_startup/StartupTestSupport.h"

namespace {

class FpLibrariesTest : public StartupTest {
protected:
    // Puts a built variant of a library into the application folder under
    // the name the terminal loads.
    void Install(const std::string& variant, const std::string& name) {
        std::filesystem::copy_file(std::string(QUILLON_FP_LIBRARY_DIR) + "/" + variant + ".dll", AppFile(name));
    }
    void LoadAll() {
        LoadFpControlDll();
        LoadFpMatchDll();
        LoadFpProcessDll();
    }
};

TEST_F(FpLibrariesTest, TheSizeFunctionsAreRequiredFromVersionEightOn) {
    Install("SMControl_WinCE_v7_short", "SMControl_WinCE.dll");
    EXPECT_EQ(LoadFpControlDll(), 1);
    EXPECT_EQ(GetSensorVersion(), 7);
}

TEST_F(FpLibrariesTest, AVersionEightSensorWithoutThemFails) {
    Install("SMControl_WinCE_v8_short", "SMControl_WinCE.dll");
    EXPECT_EQ(LoadFpControlDll(), 0);
}

TEST_F(FpLibrariesTest, CompleteLibrariesLoadAndPassTheVersionRule) {
    Install("SMControl_WinCE", "SMControl_WinCE.dll");
    Install("SMApi_WinCE", "SMApi_WinCE.dll");
    Install("SMProcess_WinCE", "SMProcess_WinCE.dll");
    EXPECT_EQ(LoadFpControlDll(), 1);
    EXPECT_EQ(LoadFpMatchDll(), 1);
    EXPECT_EQ(LoadFpProcessDll(), 1);
    EXPECT_EQ(CheckFpProcessVersion(), 0);
    SetFpSensorExposure(0x1FF);
    ASSERT_NE(g_FpLib.VeltoGetFpExposure, nullptr);
    EXPECT_EQ(g_FpLib.VeltoGetFpExposure(), 0x1FF);
}

TEST_F(FpLibrariesTest, AnOldSensorAcceptsAnyProcessingLibrary) {
    Install("SMControl_WinCE_v6", "SMControl_WinCE.dll");
    Install("SMProcess_WinCE_v1", "SMProcess_WinCE.dll");
    LoadAll();
    EXPECT_EQ(CheckFpProcessVersion(), 0);
}

TEST_F(FpLibrariesTest, MissingLibrariesCountAsVersionZeroAndAreNeverCalled) {
    LoadAll();
    EXPECT_EQ(g_FpLib.SMCVersion, nullptr);
    EXPECT_EQ(CheckFpProcessVersion(), 0);
    SetFpSensorExposure(0x1FF);
    EXPECT_EQ(GetSensorVersion(), 0);
}

TEST_F(FpLibrariesTest, ANewSensorWithAnOldProcessingLibraryStopsTheStart) {
    Install("SMControl_WinCE_v7", "SMControl_WinCE.dll");
    Install("SMProcess_WinCE_v1", "SMProcess_WinCE.dll");
    LoadAll();
    // The terminal cannot work with these libraries: not a normal end.
    EXPECT_EXIT(CheckFpProcessVersion(), ::testing::ExitedWithCode(kExitStartFailed), "");
}

}  // namespace
#endif
