#include "media/player_picture.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace velmora::media {

FitRect fit_into(int frame_width, int frame_height, int sar_num, int sar_den, int display_width,
                 int display_height) {
    if (frame_width <= 0 || frame_height <= 0 || display_width <= 0 || display_height <= 0) {
        return {};
    }
    if (sar_num <= 0 || sar_den <= 0) {
        sar_num = 1;
        sar_den = 1;
    }
    // Shown width : height is frame_width * sar_num : frame_height * sar_den.
    const int64_t shape_w = int64_t{frame_width} * sar_num;
    const int64_t shape_h = int64_t{frame_height} * sar_den;
    FitRect fit;
    if (shape_w * display_height >= shape_h * display_width) {
        fit.width = display_width;
        fit.height = static_cast<int>((shape_h * display_width + shape_w / 2) / shape_w);
    } else {
        fit.height = display_height;
        fit.width = static_cast<int>((shape_w * display_height + shape_h / 2) / shape_h);
    }
    fit.width = std::clamp(fit.width, 1, display_width);
    fit.height = std::clamp(fit.height, 1, display_height);
    fit.x = (display_width - fit.width) / 2;
    fit.y = (display_height - fit.height) / 2;
    return fit;
}

VideoPicture DisplayScaler::scale(const AVFrame& frame, int display_width, int display_height) {
    const FitRect fit = fit_into(frame.width, frame.height, frame.sample_aspect_ratio.num,
                                 frame.sample_aspect_ratio.den, display_width, display_height);
    if (fit.width <= 0 || frame.format < 0) {
        return {};
    }
    // The cached call frees the old scaler itself when it needs a new one.
    scaler_.reset(sws_getCachedContext(
        scaler_.release(), frame.width, frame.height, static_cast<AVPixelFormat>(frame.format),
        fit.width, fit.height, AV_PIX_FMT_RGB24, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr));
    if (!scaler_) {
        return {};
    }
    const int scaled_stride = fit.width * 3;
    scaled_.resize(static_cast<size_t>(scaled_stride) * fit.height);
    uint8_t* dst[4] = {scaled_.data(), nullptr, nullptr, nullptr};
    const int dst_stride[4] = {scaled_stride, 0, 0, 0};
    if (sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height, dst, dst_stride) <=
        0) {
        return {};
    }
    const int display_stride = display_width * 3;
    const bool same_layout = display_width == display_width_ && display_height == display_height_ &&
                             fit.x == last_fit_.x && fit.y == last_fit_.y &&
                             fit.width == last_fit_.width && fit.height == last_fit_.height;
    if (!same_layout) {
        // Black bars around the picture; they stay black while the layout holds.
        display_.assign(static_cast<size_t>(display_stride) * display_height, 0);
        display_width_ = display_width;
        display_height_ = display_height;
        last_fit_ = fit;
    }
    for (int y = 0; y < fit.height; ++y) {
        std::memcpy(&display_[static_cast<size_t>(fit.y + y) * display_stride + fit.x * 3],
                    &scaled_[static_cast<size_t>(y) * scaled_stride], scaled_stride);
    }
    return {display_.data(), display_width, display_height, display_stride};
}

RgbPicture frame_to_rgb(const AVFrame& frame) {
    RgbPicture picture;
    if (frame.width <= 0 || frame.height <= 0 || frame.format < 0) {
        return picture;
    }
    SwsContextPtr scaler(sws_getContext(
        frame.width, frame.height, static_cast<AVPixelFormat>(frame.format), frame.width,
        frame.height, AV_PIX_FMT_RGB24, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler) {
        return picture;
    }
    picture.rgb.resize(static_cast<size_t>(frame.width) * frame.height * 3);
    uint8_t* dst[4] = {picture.rgb.data(), nullptr, nullptr, nullptr};
    const int dst_stride[4] = {frame.width * 3, 0, 0, 0};
    if (sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, dst, dst_stride) <=
        0) {
        picture.rgb.clear();
        return picture;
    }
    picture.width = frame.width;
    picture.height = frame.height;
    return picture;
}

}  // namespace velmora::media
