// The player's sound output: one SDL audio device that pulls signed 16-bit interleaved
// samples from a fill function on SDL's own thread.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace velmora::media {

class AudioOutput {
  public:
    // Fills len bytes of stream; runs on SDL's audio thread.
    using Fill = std::function<void(uint8_t* stream, int len)>;

    AudioOutput() = default;
    ~AudioOutput();
    AudioOutput(const AudioOutput&) = delete;
    AudioOutput& operator=(const AudioOutput&) = delete;

    // Opens the default device near the wanted rate and channel count, paused; false with
    // error_text when there is no usable sound output.
    bool open(int wanted_rate, int wanted_channels, Fill fill, std::string& error_text);
    // Starts or stops the device pulling samples.
    void set_paused(bool paused);
    // Closes the device; returns once the fill function has stopped running.
    void close();

    bool is_open() const { return device_ != 0; }
    int sample_rate() const { return sample_rate_; }
    int channels() const { return channels_; }
    int bytes_per_second() const { return sample_rate_ * channels_ * 2; }
    // How long the device holds written samples before they are heard, in microseconds.
    int64_t buffer_delay_us() const { return buffer_delay_us_; }

  private:
    static void callback(void* self, uint8_t* stream, int len);

    uint32_t device_ = 0;
    bool subsystem_started_ = false;
    Fill fill_;
    int sample_rate_ = 0;
    int channels_ = 0;
    int64_t buffer_delay_us_ = 0;
};

}  // namespace velmora::media
