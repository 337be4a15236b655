// The I/O controller's supervision (the watchdog that restarts the terminal
// when it is not fed).
#pragma once

// FB 01 01 FB: supervision on.
void SendMcuCommandOn();
