#include "tools/device-image/tones.h"

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "tools/device-image/xml_text.h"

namespace factory {
namespace {

constexpr int kRate = 16000;

void PutLE(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

void WriteWav(const std::string& path, const std::vector<int16_t>& samples) {
    const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    PutLE(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLE(out, 16, 4);
    PutLE(out, 1, 2);  // PCM
    PutLE(out, 1, 2);  // mono
    PutLE(out, kRate, 4);
    PutLE(out, kRate * 2, 4);
    PutLE(out, 2, 2);
    PutLE(out, 16, 2);
    out += "data";
    PutLE(out, dataBytes, 4);
    for (int16_t s : samples) PutLE(out, static_cast<uint16_t>(s), 2);
    WriteTextFile(path, out);
}

// `frequency` gives the pitch at time t (0 = silence); a short fade at each
// pitch change keeps the tone free of clicks.
std::vector<int16_t> Synthesise(double seconds, const std::function<double(double)>& frequency) {
    std::vector<int16_t> samples(static_cast<size_t>(seconds * kRate));
    double phase = 0;
    double level = 0;
    for (size_t i = 0; i < samples.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = frequency(t);
        const double target = f > 0 ? 1.0 : 0.0;
        level += (target - level) * 0.01;
        if (f > 0) phase += 2 * std::numbers::pi * f / kRate;
        // A square-ish wave (fundamental plus third harmonic) cuts through noise.
        const double wave = std::sin(phase) + 0.3 * std::sin(3 * phase);
        samples[i] = static_cast<int16_t>(wave * level * 0.6 * 32767 / 1.3);
    }
    return samples;
}

}  // namespace

void WriteDoorAlarm(const std::string& path) {
    WriteWav(path, Synthesise(2.0, [](double t) { return std::fmod(t, 0.5) < 0.25 ? 960.0 : 770.0; }));
}

void WriteTamperAlarm(const std::string& path) {
    WriteWav(path, Synthesise(2.0, [](double t) { return std::fmod(t, 0.2) < 0.1 ? 2400.0 : 0.0; }));
}

}  // namespace factory
