// The program the shell starts at boot: registry value "velto" of key
// HKEY_LOCAL_MACHINE\init, this program's own path or "explorer.exe".
#pragma once

int IsAutoStartSelf();
int SetAutoStart(int self);
