// Writes the notification sound: a short two-note bell chime, 16-bit mono PCM WAV at 44.1 kHz.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRateHz = 44100;

void put_u32(std::ofstream& out, uint32_t v) {
    const char bytes[4] = {char(v & 0xff), char((v >> 8) & 0xff), char((v >> 16) & 0xff),
                           char((v >> 24) & 0xff)};
    out.write(bytes, 4);
}

void put_u16(std::ofstream& out, uint16_t v) {
    const char bytes[2] = {char(v & 0xff), char((v >> 8) & 0xff)};
    out.write(bytes, 2);
}

// Adds one bell stroke: a fundamental with inharmonic partials and an exponential decay.
void add_bell(std::vector<double>& mix, double start_s, double frequency_hz, double gain) {
    struct Partial {
        double ratio, level, decay_per_s;
    };
    constexpr Partial kPartials[] = {
        {1.0, 1.0, 3.0}, {2.0, 0.45, 4.5}, {2.76, 0.3, 6.0}, {5.4, 0.12, 9.0}, {8.93, 0.05, 12.0}};
    const auto first = static_cast<size_t>(start_s * kSampleRateHz);
    for (size_t i = first; i < mix.size(); ++i) {
        const double t = static_cast<double>(i - first) / kSampleRateHz;
        const double attack = std::min(1.0, t / 0.004);
        double value = 0.0;
        for (const auto& p : kPartials) {
            value += p.level * std::exp(-p.decay_per_s * t) *
                     std::sin(2.0 * std::numbers::pi * frequency_hz * p.ratio * t);
        }
        mix[i] += gain * attack * value;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_chime OUTPUT.wav\n");
        return 2;
    }
    std::vector<double> mix(static_cast<size_t>(1.6 * kSampleRateHz), 0.0);
    add_bell(mix, 0.0, 1318.5, 0.35);   // E6
    add_bell(mix, 0.18, 1046.5, 0.35);  // C6
    double peak = 0.0;
    for (double v : mix) {
        peak = std::max(peak, std::abs(v));
    }
    const double scale = peak > 0.0 ? 0.8 / peak : 0.0;

    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    const auto data_bytes = static_cast<uint32_t>(mix.size() * 2);
    out.write("RIFF", 4);
    put_u32(out, 36 + data_bytes);
    out.write("WAVEfmt ", 8);
    put_u32(out, 16);
    put_u16(out, 1);  // PCM
    put_u16(out, 1);  // mono
    put_u32(out, kSampleRateHz);
    put_u32(out, kSampleRateHz * 2);
    put_u16(out, 2);
    put_u16(out, 16);
    out.write("data", 4);
    put_u32(out, data_bytes);
    for (double v : mix) {
        put_u16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * scale * 32767.0))));
    }
    return out ? 0 : 1;
}
