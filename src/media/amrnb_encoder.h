// AMR-NB speech encoding on opencore-amrnb, for outputs whose audio is "libopencore_amrnb".
#pragma once

#include <cstdint>
#include <vector>

namespace velmora::media {

// Encodes 20 ms frames of 8000 Hz mono signed 16-bit samples into RFC 3267 storage frames
// (one header byte, then the speech bits), as the .amr file format and 3GP files hold them.
class AmrNbEncoder {
  public:
    static constexpr int kSampleRate = 8000;
    static constexpr int kFrameSamples = 160;

    // Starts an encoder at the mode nearest to bitrate (4750 .. 12200 bit/s).
    explicit AmrNbEncoder(int bitrate);
    ~AmrNbEncoder();
    AmrNbEncoder(AmrNbEncoder&& other) noexcept;
    AmrNbEncoder& operator=(AmrNbEncoder&& other) noexcept;
    AmrNbEncoder(const AmrNbEncoder&) = delete;
    AmrNbEncoder& operator=(const AmrNbEncoder&) = delete;

    // False when opencore-amrnb could not start an encoder.
    bool ok() const { return state_ != nullptr; }
    // Bit rate of the chosen mode.
    int bitrate() const;
    // Encodes exactly kFrameSamples samples (fewer are padded with silence) into one frame.
    std::vector<uint8_t> encode(const int16_t* samples, int count);

    // The mode (0 = 4.75 kbit/s .. 7 = 12.2 kbit/s) nearest to bitrate by absolute difference.
    static int mode_for_bitrate(int bitrate);
    // Bit rate of a mode.
    static int mode_bitrate(int mode);

  private:
    void* state_ = nullptr;
    int mode_ = 7;
};

}  // namespace velmora::media
