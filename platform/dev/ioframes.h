// The frames spoken between the terminal and its I/O controller (keypad,
// card reader, door and bell relays, alarm inputs, watchdog) on serial port
// 3 at 9600 baud, 8 data bits, no parity, 1 stop bit. docs/io-controller.md
// describes each frame.
#pragma once

#include <cstdint>

// Terminal to controller: four bytes, command code first and last.
inline constexpr uint8_t kIoVersionRequest = 0xF1;
inline constexpr uint8_t kIoDoorLock = 0xF3;      // byte 1 = byte 2 = lock delay / 2 + 1
// The controller's two alarm checks: byte 1 = byte 2 = 1 on, 0 off.
inline constexpr uint8_t kIoTamperCommand = 0xF4;      // the MCCHECKALARM setting
inline constexpr uint8_t kIoDoorSensorCommand = 0xF5;  // the FCCHECKALARM setting
inline constexpr uint8_t kIoVerdict = 0xF6;  // 1 passed, 0 refused
inline constexpr uint8_t kIoRestart = 0xF8;
inline constexpr uint8_t kIoSupervision = 0xFB;  // 1 on, 0 off
inline constexpr uint8_t kIoBell = 0xFD;         // as the door lock
inline constexpr uint8_t kIoWatchdogFeed = 0xFE;

// Controller to terminal. Every command is acknowledged by echoing its four
// bytes; an unknown command is answered kIoRefused, code, 0, kIoRefused.
inline constexpr uint8_t kIoVersion = 0xE1;    // E1 major minor E1
inline constexpr uint8_t kIoKey = 0xE5;        // E5 virtual-key 1|0 E5 (down|up)
inline constexpr uint8_t kIoCard = 0xE7;       // E7 n <n hexadecimal digits> E7
inline constexpr uint8_t kIoPowerKey = 0xE9;   // E9 01 01 E9
inline constexpr uint8_t kIoTamper = 0xEA;     // EA 01 01 EA
inline constexpr uint8_t kIoDoorSensor = 0xEB; // EB 01 01 EB
inline constexpr uint8_t kIoAlarmInput = 0xEC; // EC 1|0 00 EC: 1 = door-lock output, else bell
inline constexpr uint8_t kIoRefused = 0xEE;

inline constexpr int kIoFrameSize = 4;
inline constexpr int kIoMaxCardDigits = 16;

// How long the controller keeps a relay closed for the byte sent with F3 or
// FD: the terminal sends lock delay / 2 + 1, so this gives the delay back in
// whole seconds (at least one).
inline uint32_t IoRelayMilliseconds(uint8_t value) {
    const uint32_t seconds = value > 1 ? (value - 1u) * 2u : 1u;
    return seconds * 1000u;
}
