// The system volume as a level 0 to 5, kept in the registry value "Volume"
// of HKEY_CURRENT_USER\ControlPanel\Volume with both stereo halves equal.
#pragma once

void SetVolumeLevel(int level);
// A stored value between two levels reads as the nearer one.
void GetVolumeLevel(int& level);
