// The hands at the terminal's window: the finger images of the samples
// folder in file-name order, a dropped image, the finger laid on the
// sensor and lifted, and the cards of cards.txt shown in turn.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/fp/greyimage.h"
#include "platform/fp/sensorslot.h"
#include "tools/iosim/device_hands.h"

namespace {

namespace fs = std::filesystem;

class DeviceHandsTest : public ::testing::Test {
protected:
    DeviceHandsTest() {
        fs::remove_all(m_folder);
        fs::create_directories(Samples());
        for (const char* name : {"b.bmp", "a.BMP", "c.bmp"}) Finger(name, name[0]);
        std::ofstream(Samples() + "/notes.txt") << "not a finger";
        std::ofstream(Samples() + "/cards.txt") << "00A1B2C3\n\n  12ab \nnot-a-card\n12345678901234567\nFF\n";
    }
    ~DeviceHandsTest() override { fs::remove_all(m_folder); }

    std::string Samples() const { return (m_folder / "samples").string(); }
    std::string Sensor() const { return (m_folder / "sensor").string(); }
    std::string OnSensor() const { return Sensor() + "/" + kFingerFileName; }
    // A grey image whose first pixel tells which it is.
    void Finger(const std::string& name, uint8_t mark) const {
        GreyImage image(32, 32);
        image.At(0, 0) = mark;
        ASSERT_TRUE(WriteGreyBmp(Samples() + "/" + name, image));
    }
    uint8_t MarkOnSensor() const {
        GreyImage image;
        EXPECT_TRUE(ReadGreyBmp(OnSensor(), &image));
        return image.pixels.empty() ? 0 : image.At(0, 0);
    }
    SimulatedHands Hands(SimulatedHands::CardReader reader = nullptr) const {
        return SimulatedHands(Samples(), Sensor(), std::move(reader));
    }

    fs::path m_folder = fs::temp_directory_path() / ("quillon-hands-" + std::to_string(::getpid()));
};

TEST_F(DeviceHandsTest, TheNthImageInFileNameOrderIsLaidOnTheSensorWhileSpaceIsHeld) {
    SimulatedHands hands = Hands();
    ASSERT_EQ(hands.SampleFiles().size(), 3u) << "BMP files only, whatever the case of their extension";
    EXPECT_EQ(fs::path(hands.SampleFiles()[0]).filename(), "a.BMP");
    EXPECT_NE(hands.Title().find("no finger chosen"), std::string::npos);

    hands.PressFinger(true);
    EXPECT_FALSE(fs::exists(OnSensor())) << "no finger chosen yet";
    EXPECT_NE(hands.Problem().find("no finger chosen"), std::string::npos);

    hands.ChooseSample(2);
    EXPECT_EQ(fs::path(hands.Chosen()).filename(), "b.bmp");
    EXPECT_NE(hands.Title().find("finger b.bmp (Space presses it)"), std::string::npos) << hands.Title();
    hands.PressFinger(true);
    EXPECT_EQ(MarkOnSensor(), 'b');
    EXPECT_NE(hands.Title().find("finger b.bmp on the sensor"), std::string::npos) << hands.Title();
    // Another choice while the finger is held is the finger from then on.
    hands.ChooseSample(3);
    EXPECT_EQ(MarkOnSensor(), 'c');
    hands.PressFinger(false);
    EXPECT_FALSE(fs::exists(OnSensor()));

    hands.ChooseSample(4);
    EXPECT_EQ(fs::path(hands.Chosen()).filename(), "c.bmp") << "a number past the images keeps the choice";
    EXPECT_NE(hands.Problem().find("no finger image 4"), std::string::npos) << hands.Problem();
}

TEST_F(DeviceHandsTest, ADroppedImageIsChosenAndAnythingElseIsRefused) {
    SimulatedHands hands = Hands();
    Finger("../dropped.bmp", 'd');
    hands.ChooseImage((m_folder / "dropped.bmp").string());
    hands.PressFinger(true);
    EXPECT_EQ(MarkOnSensor(), 'd');
    hands.PressFinger(false);

    hands.ChooseImage(Samples() + "/notes.txt");
    EXPECT_EQ(fs::path(hands.Chosen()).filename(), "dropped.bmp");
    EXPECT_NE(hands.Problem().find("is not a finger image"), std::string::npos);
    hands.ChooseImage((m_folder / "missing.bmp").string());
    EXPECT_EQ(fs::path(hands.Chosen()).filename(), "dropped.bmp");
}

TEST_F(DeviceHandsTest, CardsAreShownInTurnAndStartOverAfterTheLast) {
    std::vector<std::string> shown;
    SimulatedHands hands = Hands([&shown](const std::string& card) {
        shown.push_back(card);
        return true;
    });
    EXPECT_EQ(hands.Cards(), (std::vector<std::string>{"00A1B2C3", "12ab", "FF"}))
        << "blank lines and lines that are no card number are passed over";
    for (int i = 0; i < 4; ++i) hands.ShowNextCard();
    EXPECT_EQ(shown, (std::vector<std::string>{"00A1B2C3", "12ab", "FF", "00A1B2C3"}));
    EXPECT_NE(hands.Title().find("card 00A1B2C3"), std::string::npos) << hands.Title();
}

TEST_F(DeviceHandsTest, ACardNeedsAReaderAndACardFile) {
    SimulatedHands withoutReader = Hands();
    withoutReader.ShowNextCard();
    EXPECT_NE(withoutReader.Problem().find("--simulate-io"), std::string::npos);

    SimulatedHands refusing = Hands([](const std::string&) { return false; });
    refusing.ShowNextCard();
    EXPECT_NE(refusing.Problem().find("did not take card 00A1B2C3"), std::string::npos);
    EXPECT_EQ(refusing.Title().find("card"), std::string::npos) << "a card not taken is not shown as shown";

    fs::remove(Samples() + "/cards.txt");
    SimulatedHands noCards = Hands([](const std::string&) { return true; });
    noCards.ShowNextCard();
    EXPECT_NE(noCards.Problem().find("holds no hexadecimal card number"), std::string::npos);
}

}  // namespace
