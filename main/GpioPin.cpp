#include "main/GpioPin.h"

#include "platform/dev/gpio.h"

namespace {

volatile DWORD* MapRegister(DWORD address) {
    PHYSICAL_ADDRESS physical{};
    physical.QuadPart = address;
    return static_cast<volatile DWORD*>(MmMapIoSpace(physical, sizeof(DWORD), FALSE));
}

}  // namespace

CGpioPin g_gpioPortG4;
CGpioPin g_gpioPortF0;

BOOL CGpioPin::Init(DWORD conAddress, DWORD datAddress, int pin, int mode) {
    m_con = MapRegister(conAddress);
    m_dat = MapRegister(datAddress);
    if (!m_con || !m_dat) return FALSE;
    m_pin = pin;
    const DWORD shift = static_cast<DWORD>(pin) * 2;
    *m_con = (*m_con & ~(3u << shift)) | ((static_cast<DWORD>(mode) & 3u) << shift);
    return TRUE;
}

void CGpioPin::Set() {
    if (m_dat) *m_dat = *m_dat | (1u << m_pin);
}

void CGpioPin::Clear() {
    if (m_dat) *m_dat = *m_dat & ~(1u << m_pin);
}

void SwitchWirelessModule(int rjwifi, int communicationType) {
    if (rjwifi == 1 && (communicationType == 2 || communicationType == 3))
        g_gpioPortG4.Set();
    else
        g_gpioPortG4.Clear();
}
