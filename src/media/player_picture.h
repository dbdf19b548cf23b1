// Turning decoded video frames into RGB pictures: letterboxed at the display size for the
// screen, and at the video's own size for snapshots.
#pragma once

#include <cstdint>
#include <vector>

#include "media/av_holders.h"
#include "media/player_types.h"

namespace velmora::media {

// Where a picture lands inside the display.
struct FitRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// The largest rectangle of the frame's shape (sample aspect sar_num:sar_den, 0 or negative
// meaning square pixels) that fits centred into display_width x display_height.
FitRect fit_into(int frame_width, int frame_height, int sar_num, int sar_den, int display_width,
                 int display_height);

// Scales frames into a letterboxed display-size picture, reusing its scaler and buffers.
class DisplayScaler {
  public:
    // The picture stays valid until the next call; nothing (rgb null) when the frame cannot be
    // scaled.
    VideoPicture scale(const AVFrame& frame, int display_width, int display_height);

  private:
    SwsContextPtr scaler_;
    std::vector<uint8_t> scaled_;
    std::vector<uint8_t> display_;
    int display_width_ = 0;
    int display_height_ = 0;
    FitRect last_fit_;
};

// The frame as RGB24 at its own width and height; 0 x 0 when it cannot be converted.
RgbPicture frame_to_rgb(const AVFrame& frame);

}  // namespace velmora::media
