#include "main/AlarmChecks.h"

#include "main/IoController.h"

void SendDoorSensorCommand(bool on) {
    const BYTE v = on ? 1 : 0;
    IoControllerExchange(&g_ioControllerPort, kIoDoorSensorCommand, v, v);
}

void SendTamperCommand(bool on) {
    const BYTE v = on ? 1 : 0;
    IoControllerExchange(&g_ioControllerPort, kIoTamperCommand, v, v);
}
