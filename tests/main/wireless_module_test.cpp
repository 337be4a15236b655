// The board's output lines: a pin's mode in its control register, and the
// wireless module's power line (port G pin 4) as the main window leaves it
// at start-up: on only when the module is fitted and the link uses it.
#include <gtest/gtest.h>

#include "main/GpioPin.h"
#include "platform/dev/gpio.h"

namespace {

// Each pin has two mode bits in its port's control register, pin n at bits
// 2n and 2n+1; the other pins' modes stay as they were.
TEST(GpioPin, TheModeGoesIntoThePinsTwoBitsOfTheControlRegister) {
    constexpr DWORD kControl = 0x56000060, kData = 0x56000064;
    const struct {
        int pin, mode;
        DWORD before, after;
    } cases[] = {
        {4, 1, 0x00000000, 0x00000100}, {4, 1, 0xFFFFFFFF, 0xFFFFFDFF}, {4, 2, 0x00000000, 0x00000200},
        {0, 1, 0xFFFFFFFF, 0xFFFFFFFD}, {15, 1, 0x00000000, 0x40000000}, {7, 3, 0x12345678, 0x1234D678},
    };
    for (const auto& c : cases) {
        PHYSICAL_ADDRESS address{};
        address.QuadPart = kControl;
        volatile DWORD* control = static_cast<volatile DWORD*>(MmMapIoSpace(address, sizeof(DWORD), FALSE));
        ASSERT_NE(control, nullptr);
        *control = c.before;
        CGpioPin line;
        ASSERT_TRUE(line.Init(kControl, kData, c.pin, c.mode));
        EXPECT_EQ(GpioRegister(kControl), c.after) << std::hex << "pin " << c.pin << " mode " << c.mode << " over "
                                                   << c.before;
    }
}

bool WirelessModulePowered() { return (GpioRegister(0x56000064) & (1u << 4)) != 0; }

TEST(WirelessModule, PoweredWhenFittedAndTheLinkIsTwoOrThree) {
    ASSERT_TRUE(g_gpioPortG4.Init(0x56000060, 0x56000064, 4, 1));
    const struct {
        int rjwifi, link;
        bool powered;
    } cases[] = {{1, 2, true}, {1, 3, true}, {1, 4, false}, {1, 1, false}, {1, 0, false},
                 {0, 2, false}, {0, 3, false}, {2, 2, false}};
    for (const auto& c : cases) {
        SwitchWirelessModule(c.rjwifi, c.link);
        EXPECT_EQ(WirelessModulePowered(), c.powered) << "RJWIFI " << c.rjwifi << ", link " << c.link;
    }
}

}  // namespace
