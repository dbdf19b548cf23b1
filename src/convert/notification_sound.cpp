#include "convert/notification_sound.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <numbers>

namespace velmora::convert {
namespace {

struct Note {
    double start_s;
    double frequency_hz;
    double decay_per_s;
    double level;
};

// A high note, then a fourth below, as a door chime rings.
constexpr Note kNotes[] = {{0.0, 1318.5, 5.0, 0.45}, {0.22, 987.8, 4.0, 0.5}};
constexpr double kLengthS = 0.9;
constexpr double kAttackS = 0.004;

void put_le(std::ofstream& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

}  // namespace

std::vector<int16_t> chime_samples() {
    const int count = static_cast<int>(kLengthS * kChimeSampleRateHz);
    std::vector<int16_t> samples(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kChimeSampleRateHz;
        double value = 0.0;
        for (const Note& note : kNotes) {
            const double local = t - note.start_s;
            if (local < 0.0) {
                continue;
            }
            const double attack = std::min(1.0, local / kAttackS);
            const double envelope = attack * std::exp(-note.decay_per_s * local);
            const double phase = 2.0 * std::numbers::pi * note.frequency_hz * local;
            // The fundamental with a little of an inharmonic partial gives the bell colour.
            value += note.level * envelope * (std::sin(phase) + 0.25 * std::sin(2.76 * phase));
        }
        // Fade the last 50 ms to silence so the end never clicks.
        const double fade = std::min(1.0, (kLengthS - t) / 0.05);
        samples[static_cast<size_t>(i)] =
            static_cast<int16_t>(std::lround(std::clamp(value * fade, -1.0, 1.0) * 30000.0));
    }
    return samples;
}

bool write_chime_wav(const std::string& path) {
    const std::vector<int16_t> samples = chime_samples();
    const auto data_bytes = static_cast<uint32_t>(samples.size() * sizeof(int16_t));
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        return false;
    }
    out.write("RIFF", 4);
    put_le(out, 36 + data_bytes, 4);
    out.write("WAVEfmt ", 8);
    put_le(out, 16, 4);                      // format chunk size
    put_le(out, 1, 2);                       // PCM
    put_le(out, 1, 2);                       // mono
    put_le(out, kChimeSampleRateHz, 4);      // sample rate
    put_le(out, kChimeSampleRateHz * 2, 4);  // bytes per second
    put_le(out, 2, 2);                       // block align
    put_le(out, 16, 2);                      // bits per sample
    out.write("data", 4);
    put_le(out, data_bytes, 4);
    for (const int16_t sample : samples) {
        put_le(out, static_cast<uint16_t>(sample), 2);
    }
    out.close();
    return static_cast<bool>(out);
}

}  // namespace velmora::convert
