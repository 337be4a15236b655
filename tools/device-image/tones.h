// The alarm sounds: generated tones written as 16-bit mono PCM WAV files.
#pragma once

#include <string>

namespace factory {

// Door-sensor alarm: a two-tone siren. Tamper alarm: fast high beeps.
void WriteDoorAlarm(const std::string& path);
void WriteTamperAlarm(const std::string& path);

}  // namespace factory
