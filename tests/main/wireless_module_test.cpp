// The wireless module's power line (port G pin 4) as the main window leaves
// it at start-up: on only when the module is fitted and the link uses it.
#include <gtest/gtest.h>

#include "main/GpioPin.h"
#include "platform/dev/gpio.h"

namespace {

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
