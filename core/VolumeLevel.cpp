#include "core/VolumeLevel.h"

#include "core/RegistryKey.h"
#include "platform/base/registry.h"

void SetVolumeLevel(int level) {
    static constexpr DWORD kValues[] = {0x00000000, 0x33333333, 0x66666666, 0x99999999, 0xCCCCCCCC, 0xFFFFFFFF};
    const DWORD value = level >= 0 && level <= 5 ? kValues[level] : 0;
    CRegistryKey key;
    if (key.Open(HKEY_CURRENT_USER, u"ControlPanel\\Volume"))
        key.SetDWORDValue(u"Volume", value);
}
