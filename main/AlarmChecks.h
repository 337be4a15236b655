// The I/O controller's two alarm checks, switched on or off with the
// stored settings: when the door, alarm and Wiegand page is left, and by
// the main window at start-up.
#pragma once

// F5 v v F5, v = 1 when `on` (the FCCHECKALARM setting), one exchange
// under the controller's lock; the reply is read and dropped.
void SendDoorSensorCommand(bool on);
// F4 v v F4, v = 1 when `on` (the MCCHECKALARM setting), the same way.
void SendTamperCommand(bool on);
// Both checks as the settings hold them (FCCHECKALARM, MCCHECKALARM): the
// main window tells the controller at start-up.
void SendStoredAlarmChecks();
