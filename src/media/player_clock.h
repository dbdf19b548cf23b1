// The playback clock: media time that runs with the wall clock unless paused, and that the
// audio output (or, without sound, the seek and the first picture) sets.
#pragma once

#include <chrono>
#include <cstdint>
#include <mutex>

namespace velmora::media {

class PlayerClock {
  public:
    using Steady = std::chrono::steady_clock;

    // Media time now, in microseconds.
    int64_t now_us() const;
    // Sets the media time as of this moment; keeps the pause state.
    void set_us(int64_t media_us);
    // Sets the media time as of the given moment (the audio output's hearing time).
    void set_at_us(int64_t media_us, Steady::time_point at);
    // Freezes or unfreezes the clock at its current time.
    void set_paused(bool paused);
    bool paused() const;

  private:
    int64_t now_locked(Steady::time_point now) const;

    mutable std::mutex mutex_;
    int64_t base_us_ = 0;
    Steady::time_point base_at_ = Steady::now();
    bool paused_ = false;
};

}  // namespace velmora::media
