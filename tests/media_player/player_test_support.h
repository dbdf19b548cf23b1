// Helpers of the player tests: a user-interface queue pumped by the test, a sink that records
// what it is shown, and the clips the tests play.
#pragma once

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <mutex>
#include <thread>

#include "media/player.h"
#include "support/media_fixtures.h"

namespace velmora::media::testing {

// Stands in for the program's notification queue: the player posts, the test runs them.
class UiQueue {
  public:
    Player::PostToUi poster() {
        return [this](std::function<void()> handler) {
            std::lock_guard lock(mutex_);
            handlers_.push_back(std::move(handler));
        };
    }
    // Runs what is queued now.
    int pump() {
        std::deque<std::function<void()>> now;
        {
            std::lock_guard lock(mutex_);
            now.swap(handlers_);
        }
        for (auto& handler : now) {
            handler();
        }
        return static_cast<int>(now.size());
    }
    // Pumps until done() holds or timeout passed; returns done().
    bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        const auto end = std::chrono::steady_clock::now() + timeout;
        while (true) {
            pump();
            if (done()) {
                return true;
            }
            if (std::chrono::steady_clock::now() > end) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }
    void pump_for(std::chrono::milliseconds time) {
        pump_until([] { return false; }, time);
    }

  private:
    std::mutex mutex_;
    std::deque<std::function<void()>> handlers_;
};

// Records the pictures a player presents.
class RecordingSink : public VideoSink {
  public:
    struct Seen {
        int presented = 0;
        int cleared = 0;
        int width = 0;
        int height = 0;
        // The colour at the centre, and at the left edge's middle (a letterbox bar or not).
        uint8_t centre[3] = {};
        uint8_t left_edge[3] = {};
    };
    void present(const VideoPicture& picture) override {
        std::lock_guard lock(mutex_);
        ++seen_.presented;
        seen_.width = picture.width;
        seen_.height = picture.height;
        const uint8_t* middle_line = picture.rgb + (picture.height / 2) * picture.stride_bytes;
        for (int i = 0; i < 3; ++i) {
            seen_.centre[i] = middle_line[(picture.width / 2) * 3 + i];
            seen_.left_edge[i] = middle_line[i];
        }
    }
    void clear() override {
        std::lock_guard lock(mutex_);
        ++seen_.cleared;
    }
    Seen seen() const {
        std::lock_guard lock(mutex_);
        return seen_;
    }

  private:
    mutable std::mutex mutex_;
    Seen seen_;
};

// The colour shown in the middle of a picture.
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
};
inline Rgb centre_of(const RgbPicture& picture) {
    const size_t at =
        (static_cast<size_t>(picture.height / 2) * picture.width + picture.width / 2) * 3;
    return {picture.rgb[at], picture.rgb[at + 1], picture.rgb[at + 2]};
}

// Whether two colours are the same up to what coding and colour conversion change.
inline bool near(const Rgb& a, const Rgb& b) {
    return std::abs(a.r - b.r) < 48 && std::abs(a.g - b.g) < 48 && std::abs(a.b - b.b) < 48;
}

// A 3 s H.264 + AAC clip, 320 x 240 at 25 fps, red for its first second, green for the
// second, blue for the third; a key frame every 12 frames.
inline bool make_colour_clip(const std::filesystem::path& output, bool with_audio = true,
                             const std::string& extra = {}) {
    std::string args =
        "-filter_complex \"color=c=red:s=320x240:r=25:d=1[a];color=c=lime:s=320x240:r=25:d=1[b];"
        "color=c=blue:s=320x240:r=25:d=1[c];[a][b][c]concat=n=3:v=1:a=0[v]\" -map \"[v]\" ";
    if (with_audio) {
        args = "-f lavfi -i sine=frequency=440:duration=3 " + args + "-map 0:a -c:a aac ";
    }
    return velmora::testing::run_ffmpeg(
        args + "-c:v libx264 -preset ultrafast -g 12 -pix_fmt yuv420p " + extra, output);
}

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

}  // namespace velmora::media::testing
