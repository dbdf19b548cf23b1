// Plays a WAV file without waiting for it, on SDL's audio output.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::platform {

class WavPlayer {
  public:
    WavPlayer() = default;
    ~WavPlayer();
    WavPlayer(const WavPlayer&) = delete;
    WavPlayer& operator=(const WavPlayer&) = delete;

    // Starts playing the file and returns at once; a sound still playing is cut off. False
    // when the file is missing or unreadable or no audio output can be opened.
    bool play_async(const std::string& wav_path);

  private:
    void close_device();

    uint32_t device_ = 0;
    bool audio_initialised_ = false;
};

}  // namespace velmora::platform
