// The default settings of every preset, compiled into the program and keyed by preset code.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "presets/catalogue.h"

namespace velmora::presets {

// One preset's defaults; empty texts leave the setting to the converter.
struct PresetDefaults {
    int code;
    std::string_view ext;             // extension given to the output path, with its dot
    std::string_view file_ext;        // Video_FileExt; differs from ext for a few presets
    std::string_view video_codec;     // Video_VideoCodec
    std::string_view video_tag;       // Video_VideoTag
    std::string_view frame_size;      // Video_FrameSize, "W*H"
    int32_t video_bitrate;            // Video_VideoBitrate, bit/s; -1000 not set, -1 untouched
    std::string_view frame_rate;      // Video_FrameRate
    std::string_view aspect_ratio;    // Video_FrameAspectRatio
    std::string_view audio_codec;     // Video_AudioCodec
    std::string_view audio_channels;  // Video_AudioChannels
    std::string_view sample_rate;     // Video_AudioSampleRate, Hz
    int32_t audio_bitrate;            // Video_AudioBitrate, bit/s; -1000 not set, -1 untouched
    bool disable_video;               // Video_DisableVideo: the preset makes audio only
    std::string_view target_type;     // Video_TargetType: "vcd", "svcd", "dvd" or empty
    std::string_view norm_type;       // Video_NormType: "PAL" or empty
};

// All 288 rows in code order.
std::span<const PresetDefaults> defaults_table();

// The row of a preset code, or nullptr for a code outside the catalogue.
const PresetDefaults* find_defaults(int code);

}  // namespace velmora::presets
