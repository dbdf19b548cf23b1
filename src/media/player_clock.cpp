#include "media/player_clock.h"

namespace velmora::media {

int64_t PlayerClock::now_locked(Steady::time_point now) const {
    if (paused_) {
        return base_us_;
    }
    return base_us_ + std::chrono::duration_cast<std::chrono::microseconds>(now - base_at_).count();
}

int64_t PlayerClock::now_us() const {
    std::lock_guard lock(mutex_);
    return now_locked(Steady::now());
}

void PlayerClock::set_us(int64_t media_us) {
    set_at_us(media_us, Steady::now());
}

void PlayerClock::set_at_us(int64_t media_us, Steady::time_point at) {
    std::lock_guard lock(mutex_);
    base_us_ = media_us;
    base_at_ = at;
    if (paused_) {
        base_at_ = Steady::now();
    }
}

void PlayerClock::set_paused(bool paused) {
    std::lock_guard lock(mutex_);
    if (paused == paused_) {
        return;
    }
    const auto now = Steady::now();
    base_us_ = now_locked(now);
    base_at_ = now;
    paused_ = paused;
}

bool PlayerClock::paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

}  // namespace velmora::media
