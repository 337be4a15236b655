#include "core/VolumeLevel.h"

#include <cstdlib>

#include "core/RegistryKey.h"
#include "platform/base/modules.h"
#include "platform/base/registry.h"
#include "platform/dev/sound.h"

namespace {

constexpr DWORD kLevels[] = {0x00000000, 0x33333333, 0x66666666, 0x99999999, 0xCCCCCCCC, 0xFFFFFFFF};
constexpr const char16_t* kVolumeKey = u"ControlPanel\\Volume";

}  // namespace

void SetVolumeLevel(int level) {
    const DWORD value = level >= 0 && level <= 5 ? kLevels[level] : 0;
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, kVolumeKey))
        key.SetDWORDValue(u"Volume", value);
    waveOutSetVolume(nullptr, value);
    // The sound driver takes the stored value; the library stays loaded.
    static const HMODULE coreDll = LoadLibraryW(u"coredll.dll");
    typedef void (*AudioUpdateProc)();
    if (const auto update = ProcAs<AudioUpdateProc>(GetProcAddress(coreDll, "AudioUpdateFromRegistry"))) update();
}

void GetVolumeLevel(int& level) {
    DWORD value = 0;
    CRegistryKey key(HKEY_CURRENT_USER, kVolumeKey);
    if (!key.IsOpen() || !key.QueryDWORDValue(u"Volume", value)) value = 0;
    // Each level's value repeats one byte; the left channel's byte decides.
    const int top = static_cast<int>(value >> 24);
    level = 0;
    for (int n = 1; n <= 5; ++n)
        if (std::abs(top - static_cast<int>(kLevels[n] >> 24)) < std::abs(top - static_cast<int>(kLevels[level] >> 24)))
            level = n;
}
