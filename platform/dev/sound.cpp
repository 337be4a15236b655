#include "platform/dev/sound.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

#include "platform/base/clock.h"
#include "platform/base/debug.h"
#include "platform/base/device_fs.h"
#include "platform/base/host_read.h"
#include "platform/base/modules.h"
#include "platform/base/registry.h"
#include "platform/base/utf.h"

namespace {

// Far beyond the longest prompt, and a length SDL takes in one piece.
constexpr size_t kMaxSoundFileBytes = 64u << 20;

std::atomic<DWORD> g_volume{0xFFFFFFFFu};
std::mutex g_outputLock;  // the SDL device and whether there is one
bool g_outputOn = false;
SDL_AudioDeviceID g_device = 0;

void StopOutput() {
    if (g_device) SDL_CloseAudioDevice(g_device);
    g_device = 0;
}

// Plays through SDL at the current volume (left channel's share); a
// synchronous sound is waited for, as on the device.
void Sound(const std::string& hostPath, bool wait) {
    std::unique_lock<std::mutex> lock(g_outputLock);
    if (!g_outputOn) return;
    StopOutput();
    std::vector<uint8_t> wave;
    if (ReadPlainHostFile(hostPath, wave, kMaxSoundFileBytes) != HostRead::Read) return;
    SDL_AudioSpec spec;
    Uint8* samples = nullptr;
    Uint32 length = 0;
    if (!SDL_LoadWAV_RW(SDL_RWFromConstMem(wave.data(), static_cast<int>(wave.size())), 1, &spec, &samples, &length))
        return;
    g_device = SDL_OpenAudioDevice(nullptr, 0, &spec, nullptr, 0);
    if (g_device) {
        std::vector<Uint8> scaled(length, spec.silence);
        const int volume = static_cast<int>((g_volume.load() & 0xFFFF) * SDL_MIX_MAXVOLUME / 0xFFFF);
        SDL_MixAudioFormat(scaled.data(), samples, spec.format, length, volume);
        SDL_QueueAudio(g_device, scaled.data(), length);
        SDL_PauseAudioDevice(g_device, 0);
    }
    SDL_FreeWAV(samples);
    while (wait && g_device && SDL_GetQueuedAudioSize(g_device) > 0) {
        lock.unlock();
        Sleep(10);
        lock.lock();
    }
}

BOOL Play(LPCWSTR soundName, DWORD flags) {
    if (!soundName) {
        JournalWrite(kJournalSound, u"stop");
        std::lock_guard<std::mutex> lock(g_outputLock);
        StopOutput();
        return TRUE;
    }
    const std::string hostPath = DeviceToHostPath(soundName);
    // Looked at without the sound library, which a sound that is not played
    // (no output) does not need; a pipe in its place is not waited on.
    const HostRead found = CheckPlainHostFile(hostPath, kMaxSoundFileBytes);
    if (found != HostRead::Read) {
        const std::u16string why = found == HostRead::Missing ? u"missing" : Utf8ToUtf16(HostReadReason(found));
        JournalWrite(kJournalSound, u"play " + std::u16string(soundName) + u" (" + why + u")");
        return FALSE;
    }
    JournalWrite(kJournalSound, u"play " + std::u16string(soundName));
    Sound(hostPath, !(flags & SND_ASYNC));
    return TRUE;
}

const bool g_registered = [] {
    RegisterBuiltinModule(u"coredll.dll", {{"AudioUpdateFromRegistry", reinterpret_cast<FARPROC>(&AudioUpdateFromRegistry)}});
    return true;
}();

}  // namespace

BOOL sndPlaySoundW(LPCWSTR soundName, UINT flags) {
    return Play(soundName, flags);
}

BOOL PlaySoundW(LPCWSTR soundName, HMODULE, DWORD flags) {
    return Play(soundName, flags);
}

MMRESULT waveOutSetVolume(HWAVEOUT, DWORD volume) {
    g_volume = volume;
    return MMSYSERR_NOERROR;
}

MMRESULT waveOutGetVolume(HWAVEOUT, LPDWORD volume) {
    if (!volume) return MMSYSERR_INVALPARAM;
    *volume = g_volume;
    return MMSYSERR_NOERROR;
}

void AudioUpdateFromRegistry() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, u"ControlPanel\\Volume", 0, KEY_READ, &key) != ERROR_SUCCESS) return;
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key, u"Volume", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
        type == REG_DWORD) {
        g_volume = value;
    }
    RegCloseKey(key);
}

void EnableSoundOutput(bool on) {
    std::lock_guard<std::mutex> lock(g_outputLock);
    if (on == g_outputOn) return;
    if (on) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
    } else {
        StopOutput();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    g_outputOn = on;
}
