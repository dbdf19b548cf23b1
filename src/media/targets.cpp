#include "media/targets.h"

#include <cmath>

namespace velmora::media {

TOptionNormType pick_norm(TOptionNormType asked, AVRational source_frame_rate) {
    if (asked != TOptionNormType::ntAuto) {
        return asked;
    }
    if (source_frame_rate.num <= 0 || source_frame_rate.den <= 0) {
        return TOptionNormType::ntPAL;
    }
    const double fps = av_q2d(source_frame_rate);
    for (double ntsc : {29.97, 23.976, 30.0, 59.94, 60.0}) {
        if (std::fabs(fps - ntsc) < 0.01) {
            return TOptionNormType::ntNTSC;
        }
    }
    return TOptionNormType::ntPAL;
}

std::optional<TargetSettings> target_settings(TOptionTargetType target, TOptionNormType norm,
                                              AVRational source_frame_rate) {
    if (target == TOptionTargetType::ttIgnore) {
        return std::nullopt;
    }
    TargetSettings s;
    s.norm = pick_norm(norm, source_frame_rate);
    const bool pal = s.norm == TOptionNormType::ntPAL;
    s.frame_rate = pal ? AVRational{25, 1} : AVRational{30000, 1001};
    s.gop_size = pal ? 15 : 18;
    switch (target) {
        case TOptionTargetType::ttVCD:
            s.format_name = "vcd";
            s.video_codec = "mpeg1video";
            s.audio_codec = "mp2";
            s.width = 352;
            s.height = pal ? 288 : 240;
            s.video_bitrate = s.max_rate = s.min_rate = 1150000;
            s.buffer_size = 40 * 1024 * 8;
            s.audio_bitrate = 224000;
            s.audio_sample_rate = 44100;
            s.audio_channels = 2;
            s.packet_size = 2324;
            s.mux_rate = 1411200;
            // The ffmpeg command line's VCD preload: (36000 + 3 * 1200) / 90000 s.
            s.preload_us = (36000 + 3 * 1200) * int64_t{1000000} / 90000;
            break;
        case TOptionTargetType::ttSVCD:
            s.format_name = "svcd";
            s.video_codec = "mpeg2video";
            s.audio_codec = "mp2";
            s.width = 480;
            s.height = pal ? 576 : 480;
            s.video_bitrate = 2040000;
            s.max_rate = 2516000;
            s.buffer_size = 224 * 1024 * 8;
            s.scan_offset = true;
            s.audio_bitrate = 224000;
            s.audio_sample_rate = 44100;
            s.packet_size = 2324;
            break;
        case TOptionTargetType::ttDVD:
            s.format_name = "dvd";
            s.video_codec = "mpeg2video";
            s.audio_codec = "ac3";
            s.width = 720;
            s.height = pal ? 576 : 480;
            s.video_bitrate = 6000000;
            s.max_rate = 9000000;
            s.buffer_size = 224 * 1024 * 8;
            s.audio_bitrate = 448000;
            s.audio_sample_rate = 48000;
            s.packet_size = 2048;
            s.mux_rate = 10080000;
            break;
        case TOptionTargetType::ttIgnore:
            break;
    }
    return s;
}

}  // namespace velmora::media
