#include "platform/base/device_fs.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/device_root.h"

TEST(DevicePaths, ComponentsIgnoreSeparatorStyleAndNeverClimbAboveTheRoot) {
    using Parts = std::vector<std::u16string>;
    EXPECT_EQ(DevicePathComponents(u"\\NandFlash\\zeta42\\DB\\KD4700.DB"), (Parts{u"NandFlash", u"zeta42", u"DB", u"KD4700.DB"}));
    EXPECT_EQ(DevicePathComponents(u"nandflash/app//x.exe"), (Parts{u"nandflash", u"app", u"x.exe"}));
    EXPECT_EQ(DevicePathComponents(u"\\a\\.\\b\\..\\c\\"), (Parts{u"a", u"c"}));
    EXPECT_EQ(DevicePathComponents(u"\\..\\..\\etc\\passwd"), (Parts{u"etc", u"passwd"}));
    EXPECT_TRUE(DevicePathComponents(u"\\").empty());
}

TEST(DevicePaths, ExistingNamesAreFoundInAnyCaseAndNewNamesKeepTheirs) {
    ScopedDeviceRoot root;
    root.PutFile("NandFlash/zeta42/DB/KD4700.DB", "db");
    EXPECT_EQ(DeviceToHostPath(u"\\NANDFLASH\\Zeta42\\db\\kd4700.db"), root.HostPath("NandFlash/zeta42/DB/KD4700.DB"));
    // The folder exists in another case, the file does not exist yet.
    EXPECT_EQ(DeviceToHostPath(u"\\nandflash\\ZETA42\\Db\\New.Txt"), root.HostPath("NandFlash/zeta42/DB/New.Txt"));
    EXPECT_EQ(DeviceToHostPath(u"\\NandFlash\\Missing\\Sub"), root.HostPath("NandFlash/Missing/Sub"));
    EXPECT_EQ(DeviceToHostPath(u"relative.txt"), root.HostPath("relative.txt"));
}

TEST(DevicePaths, NamesDifferingOnlyInCaseResolveTheSameWayEveryTime) {
    ScopedDeviceRoot root;
    root.PutFile("dir/readme", "lower");
    root.PutFile("dir/README", "upper");
    root.PutFile("dir/ReadMe", "mixed");
    EXPECT_EQ(DeviceToHostPath(u"\\dir\\ReadMe"), root.HostPath("dir/ReadMe"));  // the exact spelling wins
    EXPECT_EQ(DeviceToHostPath(u"\\dir\\rEADME"), root.HostPath("dir/README"));  // else the first in byte order
}

// Many names of one folder found at once give what a lookup each gives.
TEST(DevicePaths, NamesFoundTogetherResolveAsEachAlone) {
    ScopedDeviceRoot root;
    root.PutFile("dir/readme", "lower");
    root.PutFile("dir/README", "upper");
    root.PutFile("dir/ReadMe", "mixed");
    root.PutFile("dir/Icon.PNG", "icon");
    const std::vector<std::u16string> names{u"ReadMe", u"rEADME", u"icon.png", u"New.png", u"README"};
    std::vector<std::string> each;
    for (const std::u16string& name : names) each.push_back(DeviceToHostPath(u"\\DIR\\" + name));
    EXPECT_EQ(HostPathsInFolder(u"\\DIR", names), each);
    EXPECT_EQ(each[3], root.HostPath("dir/New.png"));
    EXPECT_EQ(HostPathsInFolder(u"\\missing", {u"a.png"}), std::vector<std::string>{root.HostPath("missing/a.png")});
}

TEST(DevicePaths, RootIsKeptAbsolute) {
    ScopedDeviceRoot root;
    const std::string previous = GetDeviceRoot();
    SetDeviceRoot(root.Host() + "/sub/../");
    EXPECT_EQ(GetDeviceRoot(), root.Host());
    EXPECT_TRUE(std::filesystem::path(GetDeviceRoot()).is_absolute());
    SetDeviceRoot(previous);
}
