// Sound: the voice prompts and alarms (wav files on the device) and the
// output volume. Every sound asked for is written to the journal (kind
// "sound") as "play <device path>" or "stop"; it is heard only when the
// window back end has switched the output on (SDL audio).
#pragma once

#include "platform/base/types.h"

#define SND_SYNC 0x0000u
#define SND_ASYNC 0x0001u
#define SND_NODEFAULT 0x0002u
#define SND_MEMORY 0x0004u
#define SND_LOOP 0x0008u
#define SND_NOSTOP 0x0010u
#define SND_ALIAS 0x00010000u
#define SND_FILENAME 0x00020000u

struct HWAVEOUT__;
typedef HWAVEOUT__* HWAVEOUT;
typedef UINT MMRESULT;
#define MMSYSERR_NOERROR 0u
#define MMSYSERR_INVALPARAM 11u

// A null name stops what is playing. FALSE when the file cannot be read
// (it is still journalled, marked "missing").
BOOL sndPlaySoundW(LPCWSTR soundName, UINT flags);
BOOL PlaySoundW(LPCWSTR soundName, HMODULE module, DWORD flags);
inline BOOL sndPlaySound(LPCWSTR soundName, UINT flags) { return sndPlaySoundW(soundName, flags); }
inline BOOL PlaySound(LPCWSTR soundName, HMODULE module, DWORD flags) { return PlaySoundW(soundName, module, flags); }

// Low word left, high word right, 0xFFFF each at full volume.
MMRESULT waveOutSetVolume(HWAVEOUT device, DWORD volume);
MMRESULT waveOutGetVolume(HWAVEOUT device, LPDWORD volume);

// coredll.dll's AudioUpdateFromRegistry: the output takes the volume stored
// under HKEY_CURRENT_USER\ControlPanel\Volume ("Volume").
void AudioUpdateFromRegistry();

// The window back end switches the loudspeaker on; headless runs stay silent.
void EnableSoundOutput(bool on);
