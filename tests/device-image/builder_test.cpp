// The builder makes a complete image in a new folder, refuses an existing one
// unless forced, and when forced repairs it: the program files come back, what
// the terminal wrote stays.
#include <gtest/gtest.h>

#include <atomic>
#include <fstream>

#include "platform/base/atomic_file.h"
#include "tests/device-image/image_files.h"
#include "tools/device-image/device_image.h"

namespace {

namespace fs = std::filesystem;
using imagetest::ReadFile;

void Write(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST(DeviceImageBuilder, CopiesTheWholeFactoryImageIntoANewFolder) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "nested" / "device";
    const factory::BuildResult result = factory::BuildDeviceImage(target.string(), false);
    ASSERT_TRUE(result.ok) << result.error;
    size_t sourceFiles = 0, copiedFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(imagetest::FactoryImage())) sourceFiles += entry.is_regular_file();
    for (const auto& entry : fs::recursive_directory_iterator(target)) copiedFiles += entry.is_regular_file();
    EXPECT_EQ(copiedFiles, sourceFiles);
    EXPECT_EQ(ReadFile(target / "registry.reg"), ReadFile(imagetest::FactoryImage() / "registry.reg"));
    EXPECT_TRUE(fs::is_directory(target / "NandFlash/zeta42/log"));  // empty folders come along
    EXPECT_FALSE(fs::exists(temp.Path() / "nested" / "device.partial"));
}

TEST(DeviceImageBuilder, RefusesAnExistingFolderWithoutForce) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "device";
    fs::create_directories(target);
    Write(target / "registry.reg", "mine");
    const factory::BuildResult result = factory::BuildDeviceImage(target.string(), false);
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.error.find("--force"), std::string::npos) << result.error;
    EXPECT_EQ(ReadFile(target / "registry.reg"), "mine");
    EXPECT_FALSE(fs::exists(target / "NandFlash"));
}

TEST(DeviceImageBuilder, ForceRepairsTheProgramFilesAndKeepsWhatTheTerminalWrote) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "device";
    ASSERT_TRUE(factory::BuildDeviceImage(target.string(), false).ok);
    const fs::path app = target / "NandFlash/zeta42";
    const fs::path skin = app / "Skin/flower/Dialog/messages.png";
    const std::string factorySkin = ReadFile(skin);
    const std::string factoryLanguage = ReadFile(app / "LANG/English.LAN");
    // What the terminal wrote while in use.
    Write(app / "config/config.xml", "<ROOT/>");
    Write(app / "DB/KD4700.DB", "live database");
    Write(app / "DB/back/KD4700.bak", "live copy");
    Write(app / "ICON/1.jpg", "photo");
    // Program files damaged or lost.
    fs::remove(skin);
    Write(app / "LANG/English.LAN", "damaged");
    fs::remove(target / "registry.reg");
    const factory::BuildResult result = factory::BuildDeviceImage((target / "").string(), true);  // trailing separator
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ReadFile(app / "config/config.xml"), "<ROOT/>");
    EXPECT_EQ(ReadFile(app / "DB/KD4700.DB"), "live database");
    EXPECT_EQ(ReadFile(app / "DB/back/KD4700.bak"), "live copy");
    EXPECT_EQ(ReadFile(app / "ICON/1.jpg"), "photo");
    EXPECT_EQ(ReadFile(skin), factorySkin);
    EXPECT_EQ(ReadFile(app / "LANG/English.LAN"), factoryLanguage);
    // A missing file the terminal writes comes from the factory image.
    EXPECT_EQ(ReadFile(target / "registry.reg"), ReadFile(imagetest::FactoryImage() / "registry.reg"));
    for (const auto& entry : fs::recursive_directory_iterator(target))
        EXPECT_NE(entry.path().extension(), ".partial") << entry.path();
}

TEST(DeviceImageBuilder, RefusesAFileInPlaceOfTheFolder) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "device";
    Write(target, "not a folder");
    EXPECT_FALSE(factory::BuildDeviceImage(target.string(), false).ok);
    const factory::BuildResult forced = factory::BuildDeviceImage(target.string(), true);
    EXPECT_FALSE(forced.ok);
    EXPECT_EQ(ReadFile(target), "not a folder");
}

std::atomic<int> g_flushed{0};

// How many files the build puts on disk before they take their names.
int FilesFlushedBy(const std::function<void()>& build) {
    g_flushed = 0;
    SetAtomicStageHook([](AtomicStage stage) { g_flushed += stage == AtomicStage::Flushed; });
    build();
    SetAtomicStageHook(nullptr);
    return g_flushed;
}

// A power cut after the build must not find a file named but empty: each
// file is on disk before it takes its name, in a new folder and in a repair.
TEST(DeviceImageBuilder, EveryFileWrittenIsOnDiskBeforeItTakesItsName) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "device";
    int imageFiles = 0;
    for (const auto& entry : fs::recursive_directory_iterator(imagetest::FactoryImage())) imageFiles += entry.is_regular_file();
    EXPECT_EQ(FilesFlushedBy([&] { ASSERT_TRUE(factory::BuildDeviceImage(target.string(), false).ok); }), imageFiles);
    // A repair writes every program file; the four the terminal writes are kept.
    EXPECT_EQ(FilesFlushedBy([&] { ASSERT_TRUE(factory::BuildDeviceImage(target.string(), true).ok); }),
              imageFiles - 4);
}

// What a cut build or repair left is cleared by the next run, beside the
// files it puts back and beside the ones the terminal wrote, which it keeps;
// files the image does not ship are left alone, whatever their names.
TEST(DeviceImageBuilder, TheNextRunClearsWhatACutOneLeftBehind) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "device";
    fs::create_directories(temp.Path() / "device.partial/NandFlash");
    Write(temp.Path() / "device.partial/NandFlash/half", "cut");
    ASSERT_TRUE(factory::BuildDeviceImage(target.string(), false).ok);
    EXPECT_FALSE(fs::exists(temp.Path() / "device.partial"));

    const fs::path app = target / "NandFlash/zeta42";
    const std::vector<fs::path> leftovers = {target / "registry.reg.partial", app / "DB/KD4700.DB.~tmpa1b2c3",
                                             app / "LANG/English.LAN.partial", app / "LANG/English.LAN.~tmpzz9zz9"};
    for (const fs::path& leftover : leftovers) Write(leftover, "half");
    Write(app / "ICON/5.jpg.partial", "the terminal's own");
    Write(target / "registry.reg", "in use");
    ASSERT_TRUE(factory::BuildDeviceImage(target.string(), true).ok);
    for (const fs::path& leftover : leftovers) EXPECT_FALSE(fs::exists(leftover)) << leftover;
    EXPECT_EQ(ReadFile(target / "registry.reg"), "in use");
    EXPECT_EQ(ReadFile(app / "ICON/5.jpg.partial"), "the terminal's own");
}

}  // namespace
