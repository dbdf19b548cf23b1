// Plays one file for its whole length and prints how much processor time the playback took
// and how smoothly the pictures came: player_bench <file> [drop|pane].
//   drop: the sink throws every picture away (the player still scales to 640 x 360).
//   pane: the sink copies every 640 x 360 picture, as the preview pane does.
//   paused: opens the file paused and waits 10 s, for the cost of an idle open file.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "media/player.h"

namespace {

using namespace std::chrono_literals;
using velmora::media::VideoPicture;

double cpu_seconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

class BenchSink : public velmora::media::VideoSink {
  public:
    explicit BenchSink(bool copy) : copy_(copy) {}
    void present(const VideoPicture& picture) override {
        if (copy_) {
            std::lock_guard lock(mutex_);
            const size_t size = static_cast<size_t>(picture.stride_bytes) * picture.height;
            copy_buffer_.resize(size);
            std::memcpy(copy_buffer_.data(), picture.rgb, size);
        }
        const auto now = std::chrono::steady_clock::now();
        if (presented_ > 0) {
            const double gap_ms = std::chrono::duration<double, std::milli>(now - last_).count();
            if (gap_ms > longest_gap_ms_) {
                longest_gap_ms_ = gap_ms;
            }
        }
        last_ = now;
        ++presented_;
    }
    void clear() override {}
    int presented() const { return presented_; }
    double longest_gap_ms() const { return longest_gap_ms_; }

  private:
    bool copy_;
    std::mutex mutex_;
    std::vector<uint8_t> copy_buffer_;
    int presented_ = 0;  // presenter thread only while playing
    double longest_gap_ms_ = 0;
    std::chrono::steady_clock::time_point last_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <file> [drop|pane]\n", argv[0]);
        return 2;
    }
    const std::string mode = argc > 2 ? argv[2] : "drop";
    std::mutex queue_mutex;
    std::deque<std::function<void()>> queue;
    velmora::media::Player player([&](std::function<void()> handler) {
        std::lock_guard lock(queue_mutex);
        queue.push_back(std::move(handler));
    });
    bool ended = false;
    int64_t duration_us = 0;
    player.OnFileOpen = [&](int64_t duration, int, int, int& width, int& height) {
        duration_us = duration;
        width = 640;
        height = 360;
    };
    player.OnState = [&](velmora::media::TPlayState state) {
        ended = ended || state == velmora::media::TPlayState::psEnd;
    };
    BenchSink sink(mode == "pane");
    const double cpu_start = cpu_seconds();
    const auto wall_start = std::chrono::steady_clock::now();
    const bool idle = mode == "paused";
    // As the window does: open paused, then play.
    if (!player.Open(argv[1], &sink, velmora::media::OpenStart::paused)) {
        std::fprintf(stderr, "%s\n", player.LastErrMsg().c_str());
        return 1;
    }
    player.WaitForFirstPicture(5s);
    if (!idle) {
        player.Resume();
    }
    const auto limit = wall_start + (idle ? std::chrono::microseconds(10s)
                                          : std::chrono::microseconds(duration_us) + 10s);
    while (!ended && std::chrono::steady_clock::now() < limit) {
        std::deque<std::function<void()>> now;
        {
            std::lock_guard lock(queue_mutex);
            now.swap(queue);
        }
        for (auto& handler : now) {
            handler();
        }
        std::this_thread::sleep_for(10ms);
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wall_start).count();
    const velmora::media::PlaybackFigures figures = player.Figures();
    player.Stop(velmora::media::StopMode::wait_for_stop);
    const double cpu = cpu_seconds() - cpu_start;
    std::printf("mode=%s media=%.2fs wall=%.2fs cpu=%.2fs cpu_per_wall=%.1f%% ended=%s\n",
                mode.c_str(), duration_us / 1e6, wall, cpu, 100.0 * cpu / wall,
                ended ? "yes" : "no");
    std::printf("shown=%lld late=%lld dropped=%lld audio_underruns=%lld longest_gap=%.1fms\n",
                static_cast<long long>(figures.shown_frames),
                static_cast<long long>(figures.late_frames),
                static_cast<long long>(figures.dropped_frames),
                static_cast<long long>(figures.audio_underruns), sink.longest_gap_ms());
    return ended || idle ? 0 : 1;
}
