// The factory image, seen through the terminal's own file system and
// registry: every file and folder the terminal names is there (the
// installation inventory, the images the widgets load beyond it), and the
// registry and configuration hold what the first start reads.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tests/device-image/image_files.h"
#include "tools/device-image/config_file.h"
#include "platform/base/device_fs.h"
#include "platform/base/files.h"
#include "platform/base/modules.h"
#include "platform/base/registry.h"
#include "platform/base/utf.h"
#include "platform/ui/imagefile.h"
#include "tools/device-image/device_image.h"
#include "tools/device-image/skin/catalogue.h"

namespace {

namespace fs = std::filesystem;

const std::string kApp = "\\NandFlash\\zeta42";

class FactoryImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        root_ = new imagetest::TempFolder;
        image_ = root_->Path() / "device";
        const factory::BuildResult result = factory::BuildDeviceImage(image_.string(), false);
        ASSERT_TRUE(result.ok) << result.error;
        SetDeviceRoot(image_.string());
    }
    static void TearDownTestSuite() {
        delete root_;
        root_ = nullptr;
    }
    static DWORD Attributes(const std::string& devicePath) {
        return GetFileAttributesW(reinterpret_cast<LPCWSTR>(Utf8ToUtf16(devicePath).c_str()));
    }
    static bool Exists(const std::string& devicePath) { return Attributes(devicePath) != INVALID_FILE_ATTRIBUTES; }
    static fs::path File(const std::string& devicePath) { return DeviceToHostPath(Utf8ToUtf16(devicePath)); }

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
    for (const std::string& path : imagetest::InstallationInventory()) {
        if (ComesFromAbsentComponent(path)) {
            RecordProperty("absent component", path);
            continue;
        }
        ASSERT_TRUE(Exists(path)) << path << " is missing";
        EXPECT_GT(fs::file_size(File(path)), 0u) << path << " is empty";
    }
    for (const std::string& folder : imagetest::InstallationFolders())
        EXPECT_TRUE(Attributes(folder) & FILE_ATTRIBUTE_DIRECTORY) << folder;
    // Language files are found by a search, as the check does it.
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(reinterpret_cast<LPCWSTR>(u"\\NandFlash\\zeta42\\LANG\\*.LAN"), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    int languages = 1;
    while (FindNextFileW(search, &found)) ++languages;
    FindClose(search);
    EXPECT_EQ(languages, 2);
    // One skin folder: a second one would be checked as well.
    int skinFolders = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(File(kApp + "\\SKIN")))
        skinFolders += entry.is_directory();
    EXPECT_EQ(skinFolders, 1);
}

TEST_F(FactoryImage, HoldsTheImagesTheWidgetsLoad) {
    for (const std::string& path : imagetest::WidgetImages()) EXPECT_TRUE(Exists(path)) << path << " is missing";
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
        EXPECT_TRUE(Exists(kApp + "\\" + font.devicePath)) << font.devicePath;
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

// A value read through the registry API, as type and bytes.
struct RegRead {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};
RegRead ReadValue(HKEY root, const char16_t* key, const char16_t* name) {
    RegRead read;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, reinterpret_cast<LPCWSTR>(key), 0, KEY_READ, &opened) != ERROR_SUCCESS) return read;
    DWORD size = 0;
    if (RegQueryValueExW(opened, reinterpret_cast<LPCWSTR>(name), nullptr, &read.type, nullptr, &size) == ERROR_SUCCESS) {
        read.data.resize(size);
        RegQueryValueExW(opened, reinterpret_cast<LPCWSTR>(name), nullptr, &read.type, read.data.data(), &size);
    }
    RegCloseKey(opened);
    return read;
}
std::u16string TextOf(const RegRead& read) {
    std::u16string text(read.data.size() / 2, u'\0');
    if (!text.empty()) std::memcpy(text.data(), read.data.data(), text.size() * 2);
    return text;
}
DWORD NumberOf(const RegRead& read) {
    DWORD number = 0xDEADBEEF;
    if (read.type == REG_DWORD && read.data.size() == 4) std::memcpy(&number, read.data.data(), 4);
    return number;
}

TEST_F(FactoryImage, RegistryHoldsWhatTheFirstStartReads) {
    const char16_t* app = u"software\\VELTO\\Quillon";
    EXPECT_EQ(TextOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"UnitName")), std::u16string(u"VELTO\0", 6));
    EXPECT_EQ(TextOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"LanguageName")), std::u16string(u"English\0", 8));
    EXPECT_EQ(NumberOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"LANGUAGEFLAG")), 1u);
    EXPECT_EQ(NumberOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"DateType")), 1u);
    EXPECT_EQ(NumberOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"TimeType")), 0u);
    EXPECT_EQ(NumberOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"CodePage")), 936u);
    EXPECT_EQ(NumberOf(ReadValue(HKEY_LOCAL_MACHINE, app, u"RJWIFI")), 0u);
    // The adapter's addresses: REG_MULTI_SZ, the text and two zeros.
    const char16_t* tcpip = u"Comm\\DM9CE1\\Parms\\TCPIP";
    const RegRead ip = ReadValue(HKEY_LOCAL_MACHINE, tcpip, u"IpAddress");
    EXPECT_EQ(ip.type, REG_MULTI_SZ);
    EXPECT_EQ(TextOf(ip), std::u16string(u"192.168.1.201\0\0", 15));
    EXPECT_EQ(NumberOf(ReadValue(HKEY_LOCAL_MACHINE, tcpip, u"EnableDHCP")), 0u);
    EXPECT_EQ(TextOf(ReadValue(HKEY_LOCAL_MACHINE, u"System\\StorageManager\\Profiles\\SDMemory", u"Folder")),
              std::u16string(u"Storage Card\0", 13));
    EXPECT_EQ(TextOf(ReadValue(HKEY_LOCAL_MACHINE, u"System\\StorageManager\\Profiles\\USBHDProfile", u"Folder")),
              std::u16string(u"USB Disk\0", 9));
    // The shell starts this program; the launcher entry is set.
    std::u16string autostart = TextOf(ReadValue(HKEY_LOCAL_MACHINE, u"init", u"velto"));
    for (char16_t& ch : autostart) ch = static_cast<char16_t>(ch < 128 ? std::tolower(ch) : ch);
    std::u16string program = kProgramPath;
    for (char16_t& ch : program) ch = static_cast<char16_t>(ch < 128 ? std::tolower(ch) : ch);
    EXPECT_EQ(autostart, program + u'\0');
    EXPECT_EQ(TextOf(ReadValue(HKEY_LOCAL_MACHINE, u"init", u"Launch50")), std::u16string(u"launch.exe\0", 11));
    // Serial ports are mapped nowhere; the volume is at its top level.
    EXPECT_EQ(ReadValue(HKEY_LOCAL_MACHINE, u"Drivers\\SerialMap", u"COM3").type, REG_SZ);
    EXPECT_EQ(NumberOf(ReadValue(HKEY_CURRENT_USER, u"ControlPanel\\Volume", u"Volume")), 0xFFFFFFFFu);
    // Removable media are inserted by creating their folders: the factory image has none.
    EXPECT_FALSE(Exists("\\Storage Card"));
    EXPECT_FALSE(Exists("\\USB Disk"));
}

// What a database file holds, as text: its schema and every row of every
// table. Read as it stands (immutable): nothing is written beside it.
std::string ContentOf(const fs::path& file) {
    sqlite3* db = nullptr;
    const std::string uri = "file:" + file.string() + "?immutable=1";
    std::string content;
    if (sqlite3_open_v2(uri.c_str(), &db, SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << file << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return content;
    }
    const auto append = [](void* out, int columns, char** values, char**) {
        for (int i = 0; i < columns; ++i) *static_cast<std::string*>(out) += std::string(values[i] ? values[i] : "NULL") + "|";
        *static_cast<std::string*>(out) += "\n";
        return 0;
    };
    std::string tables;
    EXPECT_EQ(sqlite3_exec(db, "SELECT type, name, sql FROM sqlite_master ORDER BY name", append, &content, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "SELECT group_concat('SELECT * FROM \"' || name || '\";', ' ') FROM "
                               "(SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name)",
                           [](void* out, int, char** values, char**) {
                               *static_cast<std::string*>(out) = values[0] ? values[0] : "";
                               return 0;
                           },
                           &tables, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, tables.c_str(), append, &content, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
    return content;
}

TEST_F(FactoryImage, DatabasePassesTheStartUpProbeAndNamesTheHeadOfficeInTheFactoryLanguage) {
    if (!QUILLON_FACTORY_HAS_DB) GTEST_SKIP() << "the data store's schema is not part of this build";
    // The database in write-ahead-log mode (header bytes 18 and 19 are 2),
    // its log folded in: the file alone is the database. Its copy in the
    // rollback-journal format (1), as every copy the terminal makes: one
    // file that stands alone.
    const std::vector<std::pair<const char*, std::string>> formats = {{"\\DB\\KD4700.DB", "\2\2"},
                                                                      {"\\DB\\back\\KD4700.bak", "\1\1"}};
    for (const auto& [file, format] : formats) {
        EXPECT_EQ(imagetest::ReadFile(File(kApp + file)).substr(18, 2), format) << file;
        for (const char* log : {"-wal", "-shm"}) EXPECT_FALSE(Exists(kApp + file + log)) << file << log;
    }
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(File(kApp + "\\DB\\KD4700.DB").string().c_str(), &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
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
    const std::string content = ContentOf(File(kApp + "\\DB\\KD4700.DB"));
    EXPECT_NE(content.find("Head Office"), std::string::npos);
    EXPECT_EQ(content, ContentOf(File(kApp + "\\DB\\back\\KD4700.bak")));
}

TEST_F(FactoryImage, FingerprintLibrariesLoadWithEveryRequiredFunction) {
    if (!QUILLON_FACTORY_HAS_FP_LIBS) GTEST_SKIP() << "the fingerprint libraries are not part of this build";
    const std::vector<std::pair<const char16_t*, std::vector<const char*>>> libraries = {
        {u"\\NandFlash\\zeta42\\SMControl_WinCE.dll",
         {"VeltoInitFpAndCamera", "VeltoFpEnable", "VeltoCamEnable", "VeltoFpReset", "VeltoFpState",
          "VeltoGetFpRawData", "VeltoGetFpData", "VeltoOpenFPLight", "VeltoCloseFpLight", "VeltoCamSnap",
          "VeltoGetFpHandle", "VeltoSet_Fp_i2c_reg", "VeltoFpShow", "VeltoStopFp", "VeltoGetFpFullData", "SMCVersion"}},
        {u"\\NandFlash\\zeta42\\SMApi_WinCE.dll",
         {"VeltoMatchN", "VeltoMatch", "VeltoTempToFPRECORD", "SMAVersion", "VeltoMatch2N", "VeltoAutoUpFP"}},
        {u"\\NandFlash\\zeta42\\SMProcess_WinCE.dll", {"VeltoProcess", "VeltoCheckFp", "SMPVersion"}},
    };
    for (const auto& [path, functions] : libraries) {
        const HMODULE module = LoadLibraryW(reinterpret_cast<LPCWSTR>(path));
        ASSERT_NE(module, nullptr) << Utf16ToUtf8(path);
        for (const char* function : functions) EXPECT_NE(GetProcAddress(module, function), nullptr) << function;
        FreeLibrary(module);
    }
}

TEST_F(FactoryImage, SampleFingersAreGreyImagesBesideTheApplication) {
    if (!QUILLON_FACTORY_HAS_FPGEN) GTEST_SKIP() << "the finger generator is not part of this build";
    int samples = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(File("\\samples"))) {
        if (entry.path().extension() != ".bmp") continue;
        std::vector<uint8_t> data;
        ASSERT_TRUE(ReadHostFile(entry.path().string(), data));
        Surface finger;
        ASSERT_TRUE(DecodeImage(data, ImageFormat::Bmp, finger)) << entry.path();
        EXPECT_EQ(finger.Width(), 248);
        EXPECT_EQ(finger.Height(), 280);
        const Pixel p = finger.At(124, 140);
        EXPECT_EQ((p >> 16) & 0xFF, p & 0xFF) << "not grey: " << entry.path();
        ++samples;
    }
    EXPECT_EQ(samples, 13);
}

TEST_F(FactoryImage, SampleCardsAreHexadecimalCardNumbers) {
    std::ifstream file(File("\\samples\\cards.txt"));
    int cards = 0;
    for (std::string line; std::getline(file, line); ++cards) {
        EXPECT_FALSE(line.empty());
        EXPECT_LE(line.size(), 16u) << line;
        EXPECT_EQ(line.find_first_not_of("0123456789ABCDEF"), std::string::npos) << line;
    }
    EXPECT_GE(cards, 2) << "a card reader shows several cards in turn";
}

}  // namespace
