#include "main/RestartCommand.h"

#include "main/IoController.h"
#include "platform/ui/script.h"

void SendRestartCommand() {
    HoldScriptForRestart();
    IoControllerExchange(&g_ioControllerPort, kIoRestart, 1, 1);
}
