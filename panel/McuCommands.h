// The I/O controller's supervision (the watchdog that restarts the terminal
// when it is not fed).
#pragma once

// FB 01 01 FB: supervision on.
void SendMcuCommandOn();
// FB 00 00 FB: supervision off, so that the terminal may stop feeding the
// watchdog (before a restart it asks for itself).
void SendMcuCommandOff();
