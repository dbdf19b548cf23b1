// The notification sound played when a run is done: a short two-note chime of our own, written
// as a WAV file at build time ("sounds/ring001.wav" beside the program).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velmora::convert {

inline constexpr int kChimeSampleRateHz = 22050;

// The chime's samples: mono, 16 bits, kChimeSampleRateHz, about 0.9 s: two bell-like notes
// (a high one, then a lower one) with soft attacks and decaying tails.
std::vector<int16_t> chime_samples();

// Writes the chime as a PCM WAV file; false when the file cannot be written.
bool write_chime_wav(const std::string& path);

}  // namespace velmora::convert
