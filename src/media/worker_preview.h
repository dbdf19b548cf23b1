// What the live preview gets from a converting task: at most a few small pictures a second.
#pragma once

#include <chrono>
#include <optional>

#include "media/transcode.h"
#include "media/worker_protocol.h"

namespace velmora::media {

class PreviewThrottle {
  public:
    static constexpr int kMaxWidth = 320;
    static constexpr int kMaxHeight = 240;
    static constexpr int kMinInterval_ms = 200;  // 5 pictures a second

    // A scaled copy of the frame when one is due, else nothing.
    std::optional<PreviewPicture> take(const PreviewFrame& frame, int task_index);

  private:
    std::optional<std::chrono::steady_clock::time_point> last_;
};

// Scales packed RGB24 to fit max_width x max_height keeping the shape (nearest pixel).
PreviewPicture scale_to_fit(const PreviewFrame& frame, int max_width, int max_height);

}  // namespace velmora::media
