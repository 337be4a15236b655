// The simulator driven by text, one command a line (the iosim program's
// standard input, tests):
//   key NAME | keydown NAME | keyup NAME   a keypad key (names as the script's)
//   card HEX          a card is read (up to 16 hexadecimal digits)
//   power             the power key
//   tamper | doorsensor   the alarm inputs (frames EA, EB)
//   input lock|bell   the alarm input that switches an output (frame EC)
//   version MAJOR MINOR   the firmware version the controller reports
//   state             describes what the terminal switched
#pragma once

#include <string>

#include "tools/iosim/iocontroller_sim.h"

// False with `reply` telling why when the command is unknown or malformed,
// or its frame could not be sent.
bool ExecuteSimCommand(IoControllerSim& sim, const std::string& line, std::string* reply);
std::string DescribeState(const IoControllerState& state, uint64_t nowMs);

// Hands the script driver's `card`, `finger` and `lift` commands to this
// simulator (may be null: `card` then fails) and to the simulated sensor.
void RegisterDeviceScriptCommands(IoControllerSim* sim);

// Starts this program again with the same arguments, as the controller's
// restart frame does to the terminal. Returns only when that fails.
void RestartThisProgram();
