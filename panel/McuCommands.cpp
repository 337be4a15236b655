#include "panel/McuCommands.h"

#include "main/IoController.h"

void SendMcuCommandOn() { IoControllerExchange(&g_ioControllerPort, kIoSupervision, 1, 1); }

void SendMcuCommandOff() { IoControllerExchange(&g_ioControllerPort, kIoSupervision, 0, 0); }
