#include "media/amrnb_encoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <opencore-amrnb/interf_enc.h>

namespace velmora::media {
namespace {

constexpr int kModeBitrates[] = {4750, 5150, 5900, 6700, 7400, 7950, 10200, 12200};
// The largest storage frame: 12.2 kbit/s, one header byte and 31 bytes of speech.
constexpr int kMaxFrameBytes = 32;

}  // namespace

AmrNbEncoder::AmrNbEncoder(int bitrate)
    : state_(Encoder_Interface_init(0)), mode_(mode_for_bitrate(bitrate)) {}

AmrNbEncoder::~AmrNbEncoder() {
    if (state_) {
        Encoder_Interface_exit(state_);
    }
}

AmrNbEncoder::AmrNbEncoder(AmrNbEncoder&& other) noexcept
    : state_(std::exchange(other.state_, nullptr)), mode_(other.mode_) {}

AmrNbEncoder& AmrNbEncoder::operator=(AmrNbEncoder&& other) noexcept {
    if (this != &other) {
        if (state_) {
            Encoder_Interface_exit(state_);
        }
        state_ = std::exchange(other.state_, nullptr);
        mode_ = other.mode_;
    }
    return *this;
}

int AmrNbEncoder::bitrate() const {
    return mode_bitrate(mode_);
}

int AmrNbEncoder::mode_for_bitrate(int bitrate) {
    int best = 0;
    for (int mode = 1; mode < 8; ++mode) {
        if (std::abs(kModeBitrates[mode] - bitrate) < std::abs(kModeBitrates[best] - bitrate)) {
            best = mode;
        }
    }
    return best;
}

int AmrNbEncoder::mode_bitrate(int mode) {
    return kModeBitrates[std::clamp(mode, 0, 7)];
}

std::vector<uint8_t> AmrNbEncoder::encode(const int16_t* samples, int count) {
    if (!state_) {
        return {};
    }
    short speech[kFrameSamples] = {};
    std::memcpy(speech, samples, sizeof(short) * std::clamp(count, 0, kFrameSamples));
    unsigned char out[kMaxFrameBytes * 2] = {};
    const int bytes = Encoder_Interface_Encode(state_, static_cast<Mode>(mode_), speech, out, 0);
    if (bytes <= 0) {
        return {};
    }
    return std::vector<uint8_t>(out, out + bytes);
}

}  // namespace velmora::media
