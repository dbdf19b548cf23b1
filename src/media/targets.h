// The VCD, SVCD and DVD settings the ffmpeg command line's -target applies.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "media/options.h"

extern "C" {
#include <libavutil/rational.h>
}

namespace velmora::media {

// Everything one disc target fixes. Integers of 0 are not set by the target.
struct TargetSettings {
    TOptionNormType norm = TOptionNormType::ntPAL;  // ntPAL or ntNTSC, never ntAuto
    std::string format_name;                        // "vcd", "svcd" or "dvd"
    std::string video_codec;
    std::string audio_codec;
    int width = 0;
    int height = 0;
    AVRational frame_rate{0, 1};
    int gop_size = 0;
    int64_t video_bitrate = 0;
    int64_t max_rate = 0;
    int64_t min_rate = 0;
    int buffer_size = 0;
    bool scan_offset = false;  // SVCD's scan offset (mpeg2video "scan_offset")
    int audio_bitrate = 0;
    int audio_sample_rate = 0;
    int audio_channels = 0;
    int packet_size = 0;      // muxer "packetsize"
    int64_t mux_rate = 0;     // muxer "muxrate", bit/s
    int64_t preload_us = -1;  // muxer "preload"; -1 not set
};

// The norm of a target: ntPAL or ntNTSC as asked; ntAuto picks NTSC for sources of about
// 29.97, 23.976, 30 (or 59.94, 60) frames per second, PAL otherwise (also when unknown).
TOptionNormType pick_norm(TOptionNormType asked, AVRational source_frame_rate);

// The settings of a target; nothing for ttIgnore.
std::optional<TargetSettings> target_settings(TOptionTargetType target, TOptionNormType norm,
                                              AVRational source_frame_rate);

}  // namespace velmora::media
