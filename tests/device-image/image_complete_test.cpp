// The factory image holds every file and folder the terminal names: the
// installation inventory (program files, configuration, database, fonts,
// prompts, language files, working folders and every skin image), the images
// the widgets load beyond it, and the registry and configuration values the
// first start reads.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>
#include <vector>

#include "tests/device-image/image_files.h"
#include "tools/device-image/config_file.h"
#include "platform/ui/imagefile.h"
#include "tools/device-image/device_image.h"
#include "tools/device-image/skin/catalogue.h"

namespace {

using imagetest::Resolve;
namespace fs = std::filesystem;

const std::string kApp = "\\NandFlash\\zeta42";

std::vector<std::string> Numbered(const std::string& prefix, int from, int to, const std::string& suffix) {
    std::vector<std::string> out;
    for (int i = from; i <= to; ++i) out.push_back(prefix + std::to_string(i) + suffix);
    return out;
}

void Append(std::vector<std::string>& out, const std::string& folder, const std::vector<std::string>& names) {
    for (const std::string& name : names) out.push_back(folder + name);
}

// The installation inventory, in the order the terminal checks it.
std::vector<std::string> InstallationInventory() {
    std::vector<std::string> files;
    Append(files, kApp + "\\",
           {"ATL90.DLL", "cximagecrtd.dll", "MFC90U.DLL", "msvcr90.dll", "SMApi_WinCE.dll", "SMControl_WinCE.dll",
            "SMProcess_WinCE.dll", "Quillon.exe", "wceSQLite3.dll", "CONFIG\\CONFIG.XML", "DB\\KD4700.DB",
            "DB\\back\\KD4700.bak", "FONTS\\GOTHIC.TTF", "wav\\not_passed.wav", "wav\\passed.wav",
            "wav\\FCCheckAlarm.wav", "wav\\MCCheckAlarm.wav", "wav\\place_your_finger_again.wav",
            "wav\\place_your_finger.wav", "wav\\you_are_passed.wav"});
    Append(files, kApp + "\\SKIN\\", {"loading.bmp", "loading.png"});
    const std::string skin = kApp + "\\SKIN\\flower\\";
    Append(files, skin,
           {"232_1.png", "232_2.png", "485_1.png", "485_2.png", "BackGround.bmp", "door_1.png", "door_2.png",
            "Finger.png", "FP.PNG", "ICONBK.PNG", "Information.png", "input.png", "Input_user1.png",
            "Input_user2.png", "Input_user3.png", "l_cn.png", "l_en.png", "logo.png", "msg.png", "reged.png",
            "TaskPlate.png", "tcpip_1.png", "tcpip_2.png", "Top_bg.png", "Top_info_bg_c.png", "Top_info_bg_l.png",
            "Top_info_bg_r.png", "USER.PNG", "wifi_1.png", "wifi_2.png"});
    const std::string clock = skin + "CLOCK\\IPHONE\\";
    Append(files, clock, Numbered("", 0, 9, ".png"));
    Append(files, clock, {"C.png", "Clock.png", "S.PNG"});
    Append(files, clock, Numbered("S_", 0, 9, ".PNG"));
    Append(files, clock, {"T_AM.png", "T_PM.png"});
    Append(files, clock, Numbered("w", 0, 9, ".png"));
    Append(files, clock, {"wC.png"});
    files.push_back(skin + "ControlPanel\\LOGO.PNG");
    const std::string icons = skin + "ControlPanel\\ICON\\";
    Append(files, icons, Numbered("", 11, 16, ".PNG"));
    Append(files, icons, {"121.PNG", "123.PNG", "124.PNG", "131.PNG", "132.PNG", "133.PNG", "134.PNG", "135.png",
                          "136.png", "141.PNG", "142.PNG", "143.png", "144.PNG"});
    Append(files, icons, Numbered("", 151, 156, ".PNG"));
    Append(files, icons, Numbered("", 161, 166, ".PNG"));
    Append(files, icons, {"1331.PNG", "1332.PNG", "bg.png", "Enroll FP.png", "Enroll.png", "Identify mode.png",
                          "Identify.png", "picture.png", "sbg.png"});
    Append(files, skin + "Dialog\\",
           {"abc_1.png", "abc_2.png", "BigInput.png", "button_center.png", "button_left.png", "button_right.png",
            "CE_finger.png", "DialogBG.bmp", "EnrollFP_l.png", "EnrollFP_r.png", "Finger.png", "finger_bg.png",
            "Finger_r.png", "Finger_red.png", "finger-reg.png", "input_dl.png", "input_dr.png", "input_l.png",
            "input_l_h.png", "input_r.png", "input_r_h.png", "l_cn.png", "l_en.png", "messages.png",
            "PogressBar_bg.png", "PogressBar_center.png", "PogressBar_left.png", "PogressBar_right.png",
            "SearchInfo.png", "select_bg.png", "select_gb.png", "Shift_1.png", "Shift_1_cl.png", "Shift_2.png",
            "SmallInput.png"});
    Append(files, skin + "FPFrame\\",
           {"default_Card.png", "default_Finger.png", "default_ID.png", "error.png", "ICONBK.PNG", "OK.png",
            "Photo_no.png", "PhotoFrame1.png", "PhotoFrame.png"});
    return files;
}

// Images the widgets load that the inventory does not list.
std::vector<std::string> WidgetImages() {
    const std::string skin = kApp + "\\Skin\\flower\\";
    return {skin + "ControlPanel\\buttonU.png", skin + "ControlPanel\\buttonD.png",
            skin + "messagebox\\MessageBoxBK.png", skin + "messagebox\\top.png", skin + "messagebox\\botton.png",
            skin + "messagebox\\Middle.png"};
}

class FactoryImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new imagetest::TempFolder;
        image_ = root_->Path() / "device";
        const factory::BuildResult result = factory::BuildDeviceImage(image_.string(), false);
        ASSERT_TRUE(result.ok) << result.error;
    }
    static void TearDownTestSuite() {
        delete root_;
        root_ = nullptr;
    }
    static fs::path File(const std::string& devicePath) { return Resolve(image_, devicePath); }

    static inline imagetest::TempFolder* root_ = nullptr;
    static inline fs::path image_;
};

// Parts of the image that come from other components of the build: until a
// component is built, its files cannot be in the image.
bool ComesFromAbsentComponent(const std::string& path) {
    if (!QUILLON_FACTORY_HAS_DB && path.find("\\DB\\") != std::string::npos && path.find('.') != std::string::npos)
        return true;
    return !QUILLON_FACTORY_HAS_FP_LIBS && path.find("_WinCE.dll") != std::string::npos;
}

TEST_F(FactoryImage, HoldsEveryFileTheInstallationCheckNames) {
    for (const std::string& path : InstallationInventory()) {
        if (ComesFromAbsentComponent(path)) {
            RecordProperty("absent component", path);
            continue;
        }
        const fs::path file = File(path);
        ASSERT_FALSE(file.empty()) << path << " is missing";
        EXPECT_GT(fs::file_size(file), 0u) << path << " is empty";
    }
    for (const char* folder : {"\\CONFIG", "\\DB", "\\DB\\back", "\\FONTS", "\\ICON", "\\log", "\\snap", "\\wav"})
        EXPECT_TRUE(fs::is_directory(File(kApp + folder))) << folder;
    // At least one language file, and no skin folder beside the factory one
    // that could fail the check.
    EXPECT_FALSE(File(kApp + "\\LANG\\English.LAN").empty());
    EXPECT_FALSE(File(kApp + "\\LANG\\Chinese.LAN").empty());
    int skinFolders = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(File(kApp + "\\SKIN")))
        skinFolders += entry.is_directory();
    EXPECT_EQ(skinFolders, 1);
}

TEST_F(FactoryImage, HoldsTheImagesTheWidgetsLoad) {
    for (const std::string& path : WidgetImages()) EXPECT_FALSE(File(path).empty()) << path << " is missing";
}

TEST_F(FactoryImage, SkinFilesDecodeWithTheTerminalsImageCode) {
    // Every skin file reads back through the platform's decoders at the size
    // it was drawn, with the pixels it was drawn with.
    for (const skin::SkinImage& image : skin::Catalogue()) {
        const std::string path = kApp + "\\Skin\\" + (image.inSkinRoot ? "" : "flower\\") + image.path;
        std::vector<uint8_t> data;
        ASSERT_TRUE(ReadHostFile(File(path).string(), data)) << path;
        const ImageFormat format = SniffImageFormat(data);
        EXPECT_EQ(format, path.ends_with(".bmp") ? ImageFormat::Bmp : ImageFormat::Png) << path;
        Surface decoded;
        ASSERT_TRUE(DecodeImage(data, format, decoded)) << path;
        ASSERT_EQ(decoded.Width(), image.width) << path;
        ASSERT_EQ(decoded.Height(), image.height) << path;
        const Surface drawn = skin::Render(image).ToSurface();
        const int x = image.width / 2, y = image.height / 2;
        const Pixel mask = format == ImageFormat::Bmp ? 0x00FFFFFFu : 0xFFFFFFFFu;
        // A BMP has no alpha: compare it where the drawing is opaque.
        if (format == ImageFormat::Png || (drawn.At(x, y) >> 24) == 0xFF) {
            EXPECT_EQ(decoded.At(x, y) & mask, drawn.At(x, y) & mask) << path;
        }
    }
    for (const char* wav : {"\\wav\\passed.wav", "\\wav\\FCCheckAlarm.wav"}) {
        const std::string head = imagetest::ReadFile(File(kApp + wav)).substr(0, 12);
        EXPECT_EQ(head.substr(0, 4), "RIFF") << wav;
        EXPECT_EQ(head.substr(8, 4), "WAVE") << wav;
    }
}

TEST_F(FactoryImage, ConfigurationNamesTheShippedFontsAndTheFactoryKeys) {
    const std::string config = imagetest::ReadFile(File(kApp + "\\config\\config.xml"));
    ASSERT_TRUE(config.starts_with("\xEF\xBB\xBF<?xml"));
    for (const factory::ShippedFont& font : factory::ShippedFonts()) {
        EXPECT_NE(config.find("<FileName>" + font.devicePath + "</FileName>"), std::string::npos) << font.devicePath;
        EXPECT_FALSE(File(kApp + "\\" + font.devicePath).empty()) << font.devicePath;
    }
    for (const char* entry : {"<SKIN>flower</SKIN>", "<FPLEVEL>1</FPLEVEL>", "<NETPORT>5010</NETPORT>",
                              "<PANELCOLOR>16763292</PANELCOLOR>", "<VERTIFYTYPE>201</VERTIFYTYPE>",
                              "<MachineID>1</MachineID>", "<WARNINGNUM>1000</WARNINGNUM>", "<LOCKDELAY>10</LOCKDELAY>"})
        EXPECT_NE(config.find(entry), std::string::npos) << entry;
    // Each key once: readers take the last occurrence and the writer changes the first.
    for (const auto& [key, value] : factory::FactoryConfigKeys()) {
        const std::string open = "<" + key + ">";
        EXPECT_EQ(config.find(open), config.rfind(open)) << key << " occurs twice";
    }
}

TEST_F(FactoryImage, RegistryHoldsWhatTheFirstStartReads) {
    const std::string reg = imagetest::ReadFile(File("\\registry.reg"));
    ASSERT_TRUE(reg.starts_with("Windows Registry Editor Version 5.00\n"));
    for (const char* line : {"[HKEY_LOCAL_MACHINE\\software\\VELTO\\Quillon]", "\"UnitName\"=\"VELTO\"",
                             "\"LanguageName\"=\"English\"", "\"LANGUAGEFLAG\"=dword:00000001",
                             "\"DateType\"=dword:00000001", "\"TimeType\"=dword:00000000",
                             "\"CodePage\"=dword:000003a8", "\"RJWIFI\"=dword:00000000",
                             "[HKEY_LOCAL_MACHINE\\Comm\\DM9CE1\\Parms\\TCPIP]", "\"EnableDHCP\"=dword:00000000",
                             "[HKEY_LOCAL_MACHINE\\System\\StorageManager\\Profiles\\SDMemory]",
                             "\"Folder\"=\"Storage Card\"", "\"Folder\"=\"USB Disk\"",
                             "[HKEY_LOCAL_MACHINE\\Drivers\\SerialMap]", "\"Volume\"=dword:ffffffff"})
        EXPECT_NE(reg.find(line), std::string::npos) << line;
    // The address as REG_MULTI_SZ: "192.168.1.201", its zero and the list's zero, in UTF-16LE.
    EXPECT_NE(reg.find("\"IpAddress\"=hex(7):31,00,39,00,32,00,2e,00"), std::string::npos);
    EXPECT_NE(reg.find("30,00,31,00,00,00,00,00"), std::string::npos);
    // Removable media are inserted by creating their folders: the factory image has none.
    EXPECT_TRUE(File("\\Storage Card").empty());
    EXPECT_TRUE(File("\\USB Disk").empty());
}

TEST_F(FactoryImage, DatabasePassesTheStartUpProbeAndNamesTheHeadOfficeInTheFactoryLanguage) {
    if (!QUILLON_FACTORY_HAS_DB) GTEST_SKIP() << "the data store's schema is not part of this build";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(File(kApp + "\\DB\\KD4700.DB").c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    const auto firstText = [db](const char* sql) {
        sqlite3_stmt* statement = nullptr;
        std::string text = "(no row)";
        if (sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK && sqlite3_step(statement) == SQLITE_ROW)
            text = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
        sqlite3_finalize(statement);
        return text;
    };
    EXPECT_NE(firstText("Select * From MAIN.[sqlite_master] Limit 50"), "(no row)");
    EXPECT_EQ(firstText("Select DeptName From Dept Where Deptid = 1"), "Head Office");
    sqlite3_close(db);
    EXPECT_EQ(imagetest::ReadFile(File(kApp + "\\DB\\KD4700.DB")),
              imagetest::ReadFile(File(kApp + "\\DB\\back\\KD4700.bak")));
}

}  // namespace
