// The script driver: commands, errors, handlers of other layers, scripts run
// from a message loop.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "platform/base/clock.h"
#include "platform/ui/display.h"
#include "platform/ui/imagefile.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

class ScriptTest : public RecordingTest {
protected:
    ScriptDriver driver;
};

TEST_F(ScriptTest, BadCommandsAreReportedNotGuessed) {
    for (const char* line : {"tap 320 10", "tap 10", "tap a b", "key XYZ", "key", "keydown F13", "wait -1",
                             "wait soon", "shot", "quit now", "dance"}) {
        std::string error;
        EXPECT_FALSE(driver.Execute(line, &error)) << line;
        EXPECT_FALSE(error.empty()) << line;
    }
    std::string error;
    EXPECT_TRUE(driver.Execute("", &error));
    EXPECT_TRUE(driver.Execute("# a comment", &error));
}

TEST_F(ScriptTest, KeyNamesMapToTheKeypadCodes) {
    EXPECT_EQ(ScriptDriver::KeyCode("ENTER"), VK_RETURN);
    EXPECT_EQ(ScriptDriver::KeyCode("STAR"), 0x2A);
    EXPECT_EQ(ScriptDriver::KeyCode("HASH"), 0x23);
    EXPECT_EQ(ScriptDriver::KeyCode("F12"), VK_F12);
    EXPECT_EQ(ScriptDriver::KeyCode("0"), '0');
    EXPECT_EQ(ScriptDriver::KeyCode("MENU"), VK_MENU);
    EXPECT_EQ(ScriptDriver::KeyCode("enter"), 0);
}

TEST_F(ScriptTest, OtherLayersAnswerTheirCommands) {
    std::vector<std::string> cards;
    ScriptDriver::RegisterCommand("card", [&](const std::vector<std::string>& args, std::string* error) {
        if (args.size() != 1) {
            *error = "card needs one number";
            return false;
        }
        cards.push_back(args[0]);
        return true;
    });
    std::string error;
    EXPECT_TRUE(driver.Execute("card 00A1B2", &error));
    EXPECT_FALSE(driver.Execute("card", &error));
    EXPECT_EQ(error, "card needs one number");
    EXPECT_EQ(cards, (std::vector<std::string>{"00A1B2"}));
    ScriptDriver::RegisterCommand("card", nullptr);
}

TEST_F(ScriptTest, ShotWritesTheScreenAsAPng) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    rec.eraseColor[w] = RGB(10, 20, 30);
    session.Pump();
    const std::string path = ::testing::TempDir() + "script_shot.png";
    session.Run("shot " + path);
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Surface image;
    ASSERT_TRUE(DecodePng(data, image));
    EXPECT_EQ(image.Width(), 320);
    EXPECT_EQ(image.Height(), 240);
    EXPECT_EQ(image.At(100, 100) & 0xFFFFFF, PixelFromColorRef(RGB(10, 20, 30)));
    std::remove(path.c_str());
}

TEST_F(ScriptTest, ScriptRunsInTheMessageLoopAndQuits) {
    HWND w = rec.CreateTopLevel(RECT{0, 0, 320, 240});
    SetFocus(w);
    uint64_t start = ClockNowMs();
    RunScriptWhenIdle({"key 1", "wait 1000", "tap 5 6", "quit", "key 2"}, true);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_EQ(ClockNowMs() - start, 1000u);
    std::vector<Received> input = rec.Of({WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN});
    ASSERT_EQ(input.size(), 3u) << "nothing after quit runs";
    EXPECT_EQ(input[1].wParam, static_cast<WPARAM>('1'));
    EXPECT_EQ(input[2].lParam, MAKELPARAM(5, 6));
}

TEST_F(ScriptTest, AnErrorStopsTheScriptWithExitCodeTwo) {
    rec.CreateTopLevel(RECT{0, 0, 320, 240});
    RunScriptWhenIdle({"wait 10", "jump", "wait 5000"}, true);
    uint64_t start = ClockNowMs();
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_EQ(ClockNowMs() - start, 10u);
}

}  // namespace
