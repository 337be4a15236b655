#include "main/AlarmChecks.h"

#include "core/MachineConfig.h"
#include "main/IoController.h"

void SendDoorSensorCommand(bool on) {
    const BYTE v = on ? 1 : 0;
    IoControllerExchange(&g_ioControllerPort, kIoDoorSensorCommand, v, v);
}

void SendTamperCommand(bool on) {
    const BYTE v = on ? 1 : 0;
    IoControllerExchange(&g_ioControllerPort, kIoTamperCommand, v, v);
}

void SendStoredAlarmChecks() {
    SendDoorSensorCommand(g_MachineConfig.FCCHECKALARM != 0);
    SendTamperCommand(g_MachineConfig.MCCHECKALARM != 0);
}
