#include "media/worker_preview.h"

#include <algorithm>

namespace velmora::media {

PreviewPicture scale_to_fit(const PreviewFrame& frame, int max_width, int max_height) {
    PreviewPicture picture;
    if (frame.width <= 0 || frame.height <= 0 || !frame.rgb || frame.stride < frame.width * 3) {
        return picture;
    }
    const double scale = std::min({1.0, static_cast<double>(max_width) / frame.width,
                                   static_cast<double>(max_height) / frame.height});
    picture.width = std::max(1, static_cast<int>(frame.width * scale));
    picture.height = std::max(1, static_cast<int>(frame.height * scale));
    picture.rgb.resize(static_cast<size_t>(picture.width) * 3 * picture.height);
    uint8_t* out = picture.rgb.data();
    for (int y = 0; y < picture.height; ++y) {
        const int source_y =
            static_cast<int>(static_cast<int64_t>(y) * frame.height / picture.height);
        const uint8_t* line = frame.rgb + static_cast<ptrdiff_t>(source_y) * frame.stride;
        for (int x = 0; x < picture.width; ++x) {
            const int source_x =
                static_cast<int>(static_cast<int64_t>(x) * frame.width / picture.width);
            const uint8_t* pixel = line + source_x * 3;
            *out++ = pixel[0];
            *out++ = pixel[1];
            *out++ = pixel[2];
        }
    }
    return picture;
}

std::optional<PreviewPicture> PreviewThrottle::take(const PreviewFrame& frame, int task_index) {
    const auto now = std::chrono::steady_clock::now();
    if (last_ && now - *last_ < std::chrono::milliseconds(kMinInterval_ms)) {
        return std::nullopt;
    }
    PreviewPicture picture = scale_to_fit(frame, kMaxWidth, kMaxHeight);
    if (picture.rgb.empty()) {
        return std::nullopt;
    }
    last_ = now;
    picture.task_index = task_index;
    return picture;
}

}  // namespace velmora::media
