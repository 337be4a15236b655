// One output line of the board: its control and data registers and its pin.
#pragma once

#include "platform/base/types.h"

class CGpioPin {
public:
    // Maps both registers and writes the pin's 2-bit mode into the control
    // register (1 = output).
    BOOL Init(DWORD conAddress, DWORD datAddress, int pin, int mode);
    void Set();
    void Clear();

private:
    volatile DWORD* m_con = nullptr;
    volatile DWORD* m_dat = nullptr;
    int m_pin = 0;
};

// Port G pin 4 (the wireless module) and port F pin 0.
extern CGpioPin g_gpioPortG4;
extern CGpioPin g_gpioPortF0;

// Powers the wireless module (port G pin 4) when it is fitted (RJWIFI 1)
// and the link runs over it (communication types 2 and 3); else cuts it.
void SwitchWirelessModule(int rjwifi, int communicationType);
