// The builder makes a complete image in a new folder, refuses an existing one
// unless forced, and when forced puts the factory files back without touching
// anything else.
#include <gtest/gtest.h>

#include <fstream>

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

TEST(DeviceImageBuilder, ForceRestoresFactoryFilesAndKeepsOthers) {
    imagetest::TempFolder temp;
    const fs::path target = temp.Path() / "device";
    ASSERT_TRUE(factory::BuildDeviceImage(target.string(), false).ok);
    const fs::path config = target / "NandFlash/zeta42/config/config.xml";
    const std::string factoryConfig = ReadFile(config);
    Write(config, "<ROOT/>");
    Write(target / "NandFlash/zeta42/ICON/1.jpg", "photo");
    const factory::BuildResult result = factory::BuildDeviceImage((target / "").string(), true);  // trailing separator
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ReadFile(config), factoryConfig);
    EXPECT_EQ(ReadFile(target / "NandFlash/zeta42/ICON/1.jpg"), "photo");
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

}  // namespace
