#include "core/AppServices.h"

#include <algorithm>

#include "core/AppDir.h"
#include "core/AutoStart.h"
#include "core/DateTexts.h"
#include "core/LangLibraries.h"
#include "core/MachineConfig.h"
#include "data/DataGlobals.h"
#include "data/SqlHelpers.h"
#include "main/GpioPin.h"
#include "main/IoController.h"
#include "platform/dev/sound.h"
#include "platform/ui/winuser.h"

namespace {

void PlayPrompt(const char16_t* name) {
    CString appDir;
    GetAppDir(appDir);
    sndPlaySoundW(appDir + name, SND_ASYNC);
}

}  // namespace

void PlayFCCheckAlarm() {
    if (g_MachineConfig.FCCHECKALARM == 1) PlayPrompt(u"wav\\FCCheckAlarm.wav");
}

void PlayMCCheckAlarm() {
    if (g_MachineConfig.MCCHECKALARM == 1) PlayPrompt(u"wav\\MCCheckAlarm.wav");
}

int ShowDesktop(int switchAutostart) {
    const BOOL started = StartProgram(u"\\windows\\explorer.exe");
    if (switchAutostart == 1) return SetAutoStart(0);
    return started;
}

void RestoreShellTaskBar() {
    if (const HWND taskBar = FindWindowW(u"HHTaskBar", nullptr)) {
        EnableWindow(taskBar, TRUE);
        ShowWindow(taskBar, SW_SHOW);
    }
}

int SetLockOutput(int kind) {
    const int ring = g_MachineConfig.RING;
    // The delay goes out as one byte: a longer time than it holds is sent as
    // the longest, a negative one as none, never the low byte of either (300
    // s would be sent as 44 s, -1 as 255 s).
    const BYTE delay = static_cast<BYTE>(std::clamp(g_MachineConfig.LOCKDELAY, 0, 0xFF));
    if (kind == 1 && (ring == 1 || ring == 3)) SendBellCommand(&g_ioControllerPort, delay);
    if (kind == 2 && (ring == 0 || ring == 2 || ring == 3)) SendLockCommand(&g_ioControllerPort, delay);
    return 1;
}

int HasRecentRecord(CString userId, COleDateTime time) {
    const int gap = g_MachineConfig.REATTIMEGAP;
    if (gap == 0 || !g_pDatabase) return 0;
    const COleDateTime start = time - COleDateTimeSpan(0, 0, gap, 0);
    // The user id is bound, never pasted into the statement.
    return QueryHasRow(*g_pDatabase, u"select * from checkinout where userid=? and  checktime>=? and checktime <= ?",
                       {userId, FormatDateTimeIso(start), FormatDateTimeIso(time)})
               ? 1
               : 0;
}

void SetGpioG4() { g_gpioPortG4.Set(); }

void ClearGpioG4() { g_gpioPortG4.Clear(); }
