#include "main/RestartCommand.h"

#include "main/IoController.h"

void SendRestartCommand() { IoControllerExchange(&g_ioControllerPort, kIoRestart, 1, 1); }
