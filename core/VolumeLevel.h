// The system volume as a level 0 to 5, kept in the registry value "Volume"
// of HKEY_CURRENT_USER\ControlPanel\Volume with both stereo halves equal.
// Until the sound stand-in exists only the stored value changes.
#pragma once

void SetVolumeLevel(int level);
