#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/fp/features.h"
#include "platform/fp/matcher.h"
#include "platform/fp/sensorslot.h"
#include "platform/fp/synthfinger.h"
#include "tests/fp/fplibrary.h"

namespace {

const char* const kControlExports[] = {
    "VeltoInitFpAndCamera", "VeltoFpEnable", "VeltoCamEnable",   "VeltoFpReset",       "VeltoFpState",
    "VeltoGetFpRawData",    "VeltoGetFpData", "VeltoOpenFPLight", "VeltoCloseFpLight", "VeltoCamSnap",
    "VeltoGetFpHandle",     "VeltoSet_Fp_i2c_reg", "VeltoFpShow", "VeltoStopFp",       "VeltoGetFpFullData",
    "SMCVersion",           "VeltoFPPowerDown", "VeltoFPModuleReset"};
const char* const kGeneration8Exports[] = {"VeltoGetFpSize", "VeltoGetFpExposure", "VeltoSetFpExposure",
                                           "VeltoFpBrightness"};

TEST(FingerprintLibraries, ExportWhatTheTerminalLooksUpWithTheVersionsOfEachVariant) {
    FpLibraries libs;
    for (const char* name : kControlExports) EXPECT_NE(libs.sensor.Get<void*>(name), nullptr) << name;
    for (const char* name : kGeneration8Exports) EXPECT_NE(libs.sensor.Get<void*>(name), nullptr) << name;
    for (const char* name : {"VeltoMatchN", "VeltoMatch", "VeltoTempToFPRECORD", "SMAVersion", "VeltoMatch2N",
                             "VeltoAutoUpFP", "VeltoMatchNViews", "VeltoMatch2NViews"}) {
        EXPECT_NE(libs.match.Get<void*>(name), nullptr) << name;
    }
    for (const char* name : {"VeltoProcess", "VeltoCheckFp", "SMPVersion"}) {
        EXPECT_NE(libs.process.Get<void*>(name), nullptr) << name;
    }
    EXPECT_EQ(libs.sensor.Get<FpVoidFn>("SMCVersion")(), 8);
    EXPECT_EQ(libs.process.Get<FpVoidFn>("SMPVersion")(), 2);

    struct Variant {
        const char* file;
        int version;
        bool generation8Exports;
    } variants[] = {{"SMControl_WinCE_v6.dll", 6, true},
                    {"SMControl_WinCE_v7.dll", 7, true},
                    {"SMControl_WinCE_v7_short.dll", 7, false},
                    {"SMControl_WinCE_v8_short.dll", 8, false}};
    for (const Variant& v : variants) {
        FpLibrary library(v.file);
        ASSERT_TRUE(library.Loaded()) << v.file;
        EXPECT_EQ(library.Get<FpVoidFn>("SMCVersion")(), v.version) << v.file;
        EXPECT_EQ(library.Get<void*>("VeltoGetFpSize") != nullptr, v.generation8Exports) << v.file;
        EXPECT_NE(library.Get<void*>("VeltoGetFpFullData"), nullptr) << v.file;
    }
    FpLibrary oldProcess("SMProcess_WinCE_v1.dll");
    EXPECT_EQ(oldProcess.Get<FpVoidFn>("SMPVersion")(), 1);
}

class SensorTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = std::filesystem::temp_directory_path() / ("quillon-sensor-" + std::to_string(::getpid()));
        SetSensorFolder(m_folder.string());
        m_finger = (m_folder / "press.bmp").string();
        std::filesystem::create_directories(m_folder);
        ASSERT_TRUE(WriteGreyBmp(m_finger, SynthesizeFinger(3, 0, 248, 280)));
    }
    void TearDown() override {
        std::filesystem::remove_all(m_folder);
        ::unsetenv(kSensorFolderVariable);
    }

    FpLibraries m_libs;
    std::filesystem::path m_folder;
    std::string m_finger;
};

TEST_F(SensorTest, CapturesReturnTheFingerThatLiesThereAndNothingAfterLifting) {
    auto capture = m_libs.sensor.Get<FpImageFn>("VeltoGetFpData");
    auto present = m_libs.sensor.Get<FpVoidFn>("VeltoFpState");
    std::vector<BYTE> image(kFpImageBytes, 7);
    EXPECT_EQ(capture(image.data()), 0);
    EXPECT_EQ(present(), 0);
    EXPECT_EQ(image[0], 7) << "no finger, nothing written";

    ASSERT_TRUE(PlaceFingerOnSensor(m_folder.string(), m_finger));
    EXPECT_EQ(present(), 1);
    ASSERT_EQ(capture(image.data()), 1);
    // Generation 8 delivers its 248 x 280 image turned by half a turn.
    GreyImage expected;
    ASSERT_TRUE(ReadGreyBmp(m_finger, &expected));
    std::reverse(expected.pixels.begin(), expected.pixels.end());
    EXPECT_TRUE(std::equal(expected.pixels.begin(), expected.pixels.end(), image.begin()));
    EXPECT_EQ(image[248 * 280], 7) << "nothing beyond the generation's image";

    // The processing library reads the same geometry and finds the finger.
    EXPECT_EQ(m_libs.process.Get<FpCheckFn>("VeltoCheckFp")(image.data()), 1);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    EXPECT_EQ(m_libs.process.Get<FpProcessFn>("VeltoProcess")(image.data(), tmpl.data(), work.data(), 1, 0), 0);

    LiftFingerFromSensor(m_folder.string());
    EXPECT_EQ(capture(image.data()), 0);
    EXPECT_EQ(present(), 0);
}

TEST_F(SensorTest, TheCameraAnswersOnlyInCameraModeAndTheExposureRegistersHoldTheValue) {
    auto snap = m_libs.sensor.Get<FpImageFn>("VeltoCamSnap");
    std::vector<BYTE> frame(kCameraWidth * kCameraHeight * 3, 1);
    EXPECT_EQ(snap(frame.data()), 0);
    ASSERT_EQ(m_libs.sensor.Get<FpVoidFn>("VeltoCamEnable")(), 1);
    ASSERT_EQ(snap(frame.data()), 1);
    std::vector<BYTE> next(frame.size());
    ASSERT_EQ(snap(next.data()), 1);
    EXPECT_NE(frame, next) << "the test card moves from frame to frame";
    std::vector<BYTE> image(kFpImageBytes);
    ASSERT_TRUE(PlaceFingerOnSensor(m_folder.string(), m_finger));
    EXPECT_EQ(m_libs.sensor.Get<FpImageFn>("VeltoGetFpData")(image.data()), 0) << "the camera holds the sensor";
    m_libs.sensor.Get<FpVoidFn>("VeltoFpEnable")();
    EXPECT_EQ(m_libs.sensor.Get<FpImageFn>("VeltoGetFpData")(image.data()), 1);

    // The terminal writes the exposure as register 0x10 (high bits) and 0x04.
    auto setRegister = m_libs.sensor.Get<FpRegisterFn>("VeltoSet_Fp_i2c_reg");
    ASSERT_EQ(setRegister(0x10, 0x1FF >> 2), 1);
    ASSERT_EQ(setRegister(0x04, 0x1FF & 3), 1);
    EXPECT_EQ(m_libs.sensor.Get<FpVoidFn>("VeltoGetFpExposure")(), 0x1FF);
    int width = 0, height = 0;
    ASSERT_EQ(m_libs.sensor.Get<FpSizeFn>("VeltoGetFpSize")(&width, &height), 1);
    EXPECT_EQ(width, 248);
    EXPECT_EQ(height, 280);
}

TEST(ImageProcessing, RefusesImagesWithoutAUsableFinger) {
    FpLibraries libs;
    auto extract = libs.process.Get<FpProcessFn>("VeltoProcess");
    auto check = libs.process.Get<FpCheckFn>("VeltoCheckFp");
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    const GreyImage blank(248, 280, 240);
    EXPECT_EQ(check(blank.pixels.data()), 0);
    EXPECT_NE(extract(blank.pixels.data(), tmpl.data(), work.data(), 1, 0), 0);
    const GreyImage smudge = SynthesizeSmudge(4, 248, 280);
    EXPECT_NE(extract(smudge.pixels.data(), tmpl.data(), work.data(), 1, 0), 0);
    EXPECT_NE(extract(nullptr, tmpl.data(), work.data(), 1, 0), 0);
    // The same press gives the same template.
    EXPECT_EQ(libs.Template(9, 2), libs.Template(9, 2));
}

// Ridges that stop a little way round the core, the rest of the finger
// farther off: whatever the processing makes a template of must match
// itself even at the lenient level, or a finger enrolled from such a press
// could never be found again.
TEST(ImageProcessing, ATemplateItMakesMatchesItself) {
    FpLibraries libs;
    auto match = libs.match.Get<FpMatchFn>("VeltoMatch");
    int width, height;
    FpImageSize(8, &width, &height);
    for (uint32_t seed : {3u, 4u, 7u, 8u}) {
        const GreyImage press = SynthesizeFinger(seed, 0, width, height);
        const std::vector<BYTE> whole = libs.Template(press);
        ASSERT_FALSE(whole.empty());
        const int coreX = whole[4] | whole[5] << 8, coreY = whole[6] | whole[7] << 8;
        for (int gapFrom : {28, 32}) {
            for (int gapTo : {70, 90, 110}) {
                GreyImage gapped = press;
                for (int y = 0; y < height; ++y) {
                    for (int x = 0; x < width; ++x) {
                        const double distance = std::hypot(x - coreX, y - coreY);
                        if (distance > gapFrom && distance < gapTo) gapped.At(x, y) = 240;
                    }
                }
                const std::vector<BYTE> tmpl = libs.Template(gapped);
                if (tmpl.empty()) continue;
                EXPECT_EQ(match(tmpl.data(), tmpl.data(), kMinLevel), 0)
                    << "finger " << seed << ", no ridges from " << gapFrom << " to " << gapTo << " pixels";
            }
        }
    }
}

// The stored templates of `fingers` fingers, each from its first two
// presses that give a template (presses 0 to 3).
std::vector<std::vector<BYTE>> StoredTemplates(const FpLibraries& libs, int fingers, uint32_t firstSeed) {
    std::vector<std::vector<BYTE>> all;
    for (int i = 0; i < fingers; ++i) {
        std::vector<BYTE> stored;
        for (uint32_t press = 0; press < 4 && stored.size() < kFpStoredBytes; ++press) {
            const std::vector<BYTE> t = libs.Template(firstSeed + i, press);
            stored.insert(stored.end(), t.begin(), t.end());
        }
        EXPECT_EQ(stored.size(), static_cast<size_t>(kFpStoredBytes));
        stored.resize(kFpStoredBytes);
        all.push_back(std::move(stored));
    }
    return all;
}

std::vector<BYTE> Records(const FpLibraries& libs, const std::vector<std::vector<BYTE>>& stored) {
    auto toRecord = libs.match.Get<FpToRecordFn>("VeltoTempToFPRECORD");
    std::vector<BYTE> records(stored.size() * kFpRecordBytes);
    for (size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(toRecord(stored[i].data(), &records[i * kFpRecordBytes]), 1);
    return records;
}

TEST(Identification, FindsTheEnrolledFingerAmongManyAndNobodyForAStranger) {
    FpLibraries libs;
    constexpr int kEnrolled = 60;
    const std::vector<std::vector<BYTE>> stored = StoredTemplates(libs, kEnrolled, 500);
    const std::vector<BYTE> records = Records(libs, stored);
    auto search = libs.match.Get<FpMatch2NFn>("VeltoMatch2N");
    int found = 0;
    for (int i = 0; i < kEnrolled; i += 3) {
        const std::vector<BYTE> live = libs.Template(500 + i, 5);
        int score = -1, press = -1;
        const int index = search(live.data(), records.data(), kEnrolled, &score, &press, 5);
        EXPECT_TRUE(index == i || index < 0) << "finger " << i << " taken for " << index;
        found += index == i;
        if (index == i) {
            EXPECT_GE(score, 50);
            EXPECT_TRUE(press == 0 || press == 1);
        }
    }
    EXPECT_GE(found, kEnrolled / 3 - 1);
    for (int stranger = 0; stranger < 10; ++stranger) {
        const std::vector<BYTE> live = libs.Template(900 + stranger, 0);
        EXPECT_LT(search(live.data(), records.data(), kEnrolled, nullptr, nullptr, 5), 0);
    }
    EXPECT_LT(search(libs.Template(500, 5).data(), records.data(), 0, nullptr, nullptr, 5), 0);

    // The older 256-byte slots hold the first press only.
    std::vector<BYTE> slots(static_cast<size_t>(kEnrolled) * kFpSlotBytes);
    for (int i = 0; i < kEnrolled; ++i) {
        std::memcpy(&slots[static_cast<size_t>(i) * kFpSlotBytes], stored[i].data(), kFpSlotBytes);
    }
    auto searchSlots = libs.match.Get<FpMatchNFn>("VeltoMatchN");
    EXPECT_EQ(searchSlots(libs.Template(521, 0).data(), slots.data(), kEnrolled, 5), 21);
    EXPECT_LT(searchSlots(libs.Template(950, 0).data(), slots.data(), kEnrolled, 5), 0);
}

// A template is read no further than its own bytes, whatever its last byte
// says: a search that names nobody tries further views only where it is
// told how long the press is. Each press lies alone on the heap, exactly
// as long as it is said to be, so that the sanitizer build catches a read
// beyond it.
TEST(Identification, ATemplateIsReadNoFurtherThanItsEnd) {
    FpLibraries libs;
    constexpr int kEnrolled = 20;
    const std::vector<std::vector<BYTE>> stored = StoredTemplates(libs, kEnrolled, 600);
    const std::vector<BYTE> records = Records(libs, stored);
    std::vector<BYTE> slots(static_cast<size_t>(kEnrolled) * kFpSlotBytes);
    for (int i = 0; i < kEnrolled; ++i) std::memcpy(&slots[static_cast<size_t>(i) * kFpSlotBytes], stored[i].data(), kFpTemplateBytes);
    const auto search = libs.match.Get<FpMatch2NFn>("VeltoMatch2N");
    const auto searchSlots = libs.match.Get<FpMatchNFn>("VeltoMatchN");
    const auto searchViews = libs.match.Get<FpMatch2NViewsFn>("VeltoMatch2NViews");
    const auto searchSlotsViews = libs.match.Get<FpMatchNViewsFn>("VeltoMatchNViews");
    ASSERT_TRUE(search && searchSlots && searchViews && searchSlotsViews);

    for (const uint32_t finger : {605u, 950u}) {  // one enrolled, one a stranger
        const std::vector<BYTE> made = libs.Template(finger, 5);
        ASSERT_EQ(made.size(), static_cast<size_t>(kFpTemplateBytes));
        int scoreMade = -1, pressMade = -1;
        const int expected = search(made.data(), records.data(), kEnrolled, &scoreMade, &pressMade, 5);
        const int expectedSlot = searchSlots(made.data(), slots.data(), kEnrolled, 5);
        EXPECT_EQ(expected, finger == 605u ? 5 : -1);
        EXPECT_EQ(expectedSlot, expected);
        for (const BYTE count : {BYTE{1}, BYTE{kMostOtherViews}, BYTE{0xFF}}) {
            const std::unique_ptr<BYTE[]> alone(new BYTE[kFpTemplateBytes]);
            std::memcpy(alone.get(), made.data(), kFpTemplateBytes);
            alone[kFpTemplateBytes - 1] = count;
            int score = -1, press = -1;
            EXPECT_EQ(search(alone.get(), records.data(), kEnrolled, &score, &press, 5), expected) << int{count};
            EXPECT_EQ(score, scoreMade);
            EXPECT_EQ(press, pressMade);
            EXPECT_EQ(searchSlots(alone.get(), slots.data(), kEnrolled, 5), expectedSlot) << int{count};
            score = press = -1;
            EXPECT_EQ(searchViews(alone.get(), kFpTemplateBytes, records.data(), kEnrolled, &score, &press, 5), expected);
            EXPECT_EQ(score, scoreMade);
            EXPECT_EQ(searchSlotsViews(alone.get(), kFpTemplateBytes, slots.data(), kEnrolled, 5), expectedSlot);
        }
    }
    // Fewer bytes than a template are none.
    const std::vector<BYTE> made = libs.Template(605, 5);
    EXPECT_LT(searchViews(made.data(), kFpTemplateBytes - 1, records.data(), kEnrolled, nullptr, nullptr, 5), 0);
    EXPECT_LT(searchSlotsViews(made.data(), 0, slots.data(), kEnrolled, 5), 0);
}

TEST(Identification, RecordsRefuseGarbageAndABetterPressReplacesTheWeakerStoredOne) {
    FpLibraries libs;
    auto toRecord = libs.match.Get<FpToRecordFn>("VeltoTempToFPRECORD");
    auto update = libs.match.Get<FpAutoUpdateFn>("VeltoAutoUpFP");
    std::vector<BYTE> garbage(kFpStoredBytes, 0xAB), record(kFpRecordBytes);
    EXPECT_EQ(toRecord(garbage.data(), record.data()), 0);

    std::vector<BYTE> stored = libs.Template(77, 0);
    const std::vector<BYTE> second = libs.Template(77, 1);
    stored.insert(stored.end(), second.begin(), second.end());
    ASSERT_EQ(toRecord(stored.data(), record.data()), 1);
    std::vector<BYTE> merged(kFpRecordBytes), newStored(kFpStoredBytes);

    // A stranger never updates a record.
    EXPECT_EQ(update(libs.Template(78, 0).data(), record.data(), merged.data(), newStored.data()), 0);

    // A press of better quality than the weaker stored one takes its place.
    std::vector<BYTE> live = libs.Template(77, 0);
    const int weaker = std::min(stored[1], second[1]);
    live[1] = static_cast<BYTE>(weaker + 1);
    ASSERT_NE(update(live.data(), record.data(), merged.data(), newStored.data()), 0);
    EXPECT_TRUE(std::equal(live.begin(), live.end(), newStored.begin() + kFpTemplateBytes));
    const BYTE* kept = stored[1] >= second[1] ? stored.data() : second.data();
    EXPECT_TRUE(std::equal(kept, kept + kFpTemplateBytes, newStored.begin()));
    std::vector<BYTE> rebuilt(kFpRecordBytes);
    ASSERT_EQ(toRecord(newStored.data(), rebuilt.data()), 1);
    EXPECT_EQ(rebuilt, merged);

    // One no better leaves the record alone.
    live[1] = static_cast<BYTE>(weaker);
    EXPECT_EQ(update(live.data(), record.data(), merged.data(), newStored.data()), 0);
}

TEST(Matching, OneToOneFollowsTheLevel) {
    FpLibraries libs;
    auto match = libs.match.Get<FpMatchFn>("VeltoMatch");
    const std::vector<BYTE> a = libs.Template(31, 0), b = libs.Template(31, 4), c = libs.Template(32, 0);
    EXPECT_EQ(match(a.data(), b.data(), 5), 0);
    EXPECT_NE(match(a.data(), c.data(), 5), 0);
    std::vector<BYTE> broken = a;
    broken[0] = 0;
    EXPECT_NE(match(broken.data(), a.data(), 1), 0);
}

}  // namespace

namespace {

// A device image whose sensor board is of generation 7: its library under
// the plain name beside the processing library.
TEST_F(SensorTest, AnOlderSensorDeliversItsOwnGeometryAndProcessingFollowsIt) {
    const std::filesystem::path image = m_folder / "image";
    std::filesystem::create_directories(image);
    std::filesystem::copy_file(std::string(FP_LIBRARY_DIR) + "/SMControl_WinCE_v7.dll", image / "SMControl_WinCE.dll");
    std::filesystem::copy_file(std::string(FP_LIBRARY_DIR) + "/SMProcess_WinCE.dll", image / "SMProcess_WinCE.dll");
    void* sensor = ::dlopen((image / "SMControl_WinCE.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    void* process = ::dlopen((image / "SMProcess_WinCE.dll").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(sensor, nullptr);
    ASSERT_NE(process, nullptr);
    auto capture = reinterpret_cast<FpImageFn>(::dlsym(sensor, "VeltoGetFpData"));
    auto extract = reinterpret_cast<FpProcessFn>(::dlsym(process, "VeltoProcess"));

    const GreyImage tall = SynthesizeFinger(6, 1, 256, 296);
    ASSERT_TRUE(WriteGreyBmp(m_finger, tall));
    ASSERT_TRUE(PlaceFingerOnSensor(m_folder.string(), m_finger));
    std::vector<BYTE> captured(kFpImageBytes, 7);
    ASSERT_EQ(capture(captured.data()), 1);
    // Upright, 256 x 296, nothing written beyond.
    EXPECT_TRUE(std::equal(tall.pixels.begin(), tall.pixels.end(), captured.begin()));
    EXPECT_EQ(captured[256 * 296], 7);
    std::vector<BYTE> tmpl(kFpTemplateBytes), work(kFpImageBytes);
    EXPECT_EQ(extract(captured.data(), tmpl.data(), work.data(), 1, 0), 0);
    // The same template as from the picture read at its true width.
    uint8_t expected[kTemplateSize];
    ASSERT_EQ(ExtractTemplate(tall, expected), ExtractResult::Ok);
    EXPECT_TRUE(std::equal(tmpl.begin(), tmpl.end(), expected));
    ::dlclose(process);
    ::dlclose(sensor);
}

}  // namespace
