// A window DC held by a drawing thread while the user-interface thread lays
// out windows above that window: the DC draws only where its window shows at
// the moment it draws (a splash animated by its own thread while a message
// box is laid out and shown above it).
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "platform/ui/display.h"
#include "platform/ui/gdi.h"
#include "tests/support/ui_session.h"
#include "tests/ui/recorder.h"

namespace {

constexpr COLORREF kSplash = RGB(0, 0, 255);
constexpr COLORREF kFrame = RGB(255, 0, 0);
constexpr COLORREF kBox = RGB(192, 192, 192);

Pixel ScreenAt(int x, int y) { return ScreenSurface().At(x, y) & 0xFFFFFF; }

class HeldDcTest : public RecordingTest {
protected:
    void SetUp() override {
        splash = rec.CreateTopLevel(RECT{0, 0, 320, 240});
        rec.eraseColor[splash] = kSplash;
        box = rec.CreateTopLevel(RECT{20, 70, 300, 170});
        rec.eraseColor[box] = kBox;
        session.Pump();
    }

    // Another thread takes the splash's DC, then `layOut` runs here, then
    // that thread fills the whole DC with one frame and lets the DC go.
    void FrameDrawnAcross(const std::function<void()>& layOut) {
        std::promise<void> dcTaken;
        std::promise<void> laidOut;
        std::thread painter([&, ready = laidOut.get_future()]() mutable {
            HDC dc = GetDC(splash);
            dcTaken.set_value();
            ready.wait();
            RECT all{0, 0, 320, 240};
            HBRUSH brush = CreateSolidBrush(kFrame);
            FillRect(dc, &all, brush);
            DeleteObject(brush);
            ReleaseDC(splash, dc);
        });
        dcTaken.get_future().wait();
        layOut();
        laidOut.set_value();
        painter.join();
    }

    HWND splash = nullptr;
    HWND box = nullptr;
};

TEST_F(HeldDcTest, AFrameDrawnAfterTheBoxGrewLeavesTheWholeBoxAlone) {
    FrameDrawnAcross([&] {
        SetWindowPos(box, nullptr, 20, 40, 280, 160, SWP_NOZORDER | SWP_NOACTIVATE);
        session.Pump();
    });
    // The rows the box took when it grew, at its top and at its bottom.
    EXPECT_EQ(ScreenAt(20, 40), PixelFromColorRef(kBox));
    EXPECT_EQ(ScreenAt(160, 120), PixelFromColorRef(kBox));
    EXPECT_EQ(ScreenAt(299, 199), PixelFromColorRef(kBox));
    // The frame lands everywhere else.
    EXPECT_EQ(ScreenAt(10, 10), PixelFromColorRef(kFrame));
    EXPECT_EQ(ScreenAt(160, 200), PixelFromColorRef(kFrame));
    EXPECT_EQ(ScreenAt(300, 120), PixelFromColorRef(kFrame));
}

TEST_F(HeldDcTest, AFrameDrawnAfterTheBoxAppearedLeavesItAlone) {
    // As a dialog starts: made hidden, laid out, then shown.
    ShowWindow(box, SW_HIDE);
    session.Pump();
    FrameDrawnAcross([&] {
        SetWindowPos(box, nullptr, 20, 40, 280, 160, SWP_NOZORDER | SWP_NOACTIVATE);
        ShowWindow(box, SW_SHOWNA);
        session.Pump();
    });
    EXPECT_EQ(ScreenAt(20, 40), PixelFromColorRef(kBox));
    EXPECT_EQ(ScreenAt(299, 199), PixelFromColorRef(kBox));
    EXPECT_EQ(ScreenAt(160, 200), PixelFromColorRef(kFrame));
}

TEST_F(HeldDcTest, AFrameDrawnAfterTheBoxWentAwayCoversWhereItWas) {
    FrameDrawnAcross([&] {
        ShowWindow(box, SW_HIDE);
        session.Pump();
    });
    EXPECT_EQ(ScreenAt(160, 120), PixelFromColorRef(kFrame));
    EXPECT_EQ(ScreenAt(10, 10), PixelFromColorRef(kFrame));
}

TEST_F(HeldDcTest, AFrameDrawnAfterTheWindowWasDestroyedDrawsNothing) {
    FrameDrawnAcross([&] {
        DestroyWindow(splash);
        session.Pump();
    });
    // The desktop shows where the splash was; the box stays as painted.
    EXPECT_EQ(ScreenAt(10, 10), 0u);
    EXPECT_EQ(ScreenAt(160, 120), PixelFromColorRef(kBox));
}

}  // namespace
