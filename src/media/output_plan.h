// Everything decided about an output before frames flow: container, encoders, sizes, rates.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "media/codec_resolution.h"
#include "media/options.h"
#include "media/preset_file.h"
#include "media/transcode.h"

namespace velmora::media {

// What the input offers, as far as planning its output needs it.
struct SourceInfo {
    bool has_video = false;
    int width = 0;
    int height = 0;
    AVRational frame_rate{0, 1};
    AVPixelFormat pixel_format = AV_PIX_FMT_NONE;
    bool has_audio = false;
    int sample_rate = 0;
    int channels = 0;
};

struct VideoPlan {
    bool enabled = false;
    ResolvedEncoder encoder;
    int width = 0;  // 0: not known before the source is
    int height = 0;
    AVRational frame_rate{0, 1};      // 0: not known before the source is
    bool unofficial_rate = false;     // mpeg1video's non-standard rates need "unofficial"
    AVRational display_aspect{0, 1};  // 0: the source's aspect
    int64_t bitrate = 0;
    uint32_t codec_tag = 0;
    std::string user_filters;
    PresetEntries preset;  // encoder options of the preset file
    int gop_size = 0;
    int64_t max_rate = 0;
    int64_t min_rate = 0;
    int buffer_size = 0;
    bool scan_offset = false;
};

struct AudioPlan {
    bool enabled = false;
    ResolvedEncoder encoder;
    int sample_rate = 0;  // 0: not known before the source is
    int channels = 0;
    int64_t bitrate = 0;
    double volume = -1.0;  // < 0: unchanged
};

struct OutputPlan {
    const AVOutputFormat* format = nullptr;
    VideoPlan video;
    AudioPlan audio;
    int packet_size = 0;
    int64_t mux_rate = 0;
    int64_t preload_us = -1;
    std::vector<std::string> notes;  // substitutions, for the diagnostic log
};

// Plans output for a source (null: not known yet, as when an output is attached). False with
// error_text when the output cannot be made.
bool plan_output(const TOutputOptions& output, const EngineEnvironment& env,
                 const SourceInfo* source, OutputPlan& plan, std::string& error_text);

// Parses "W*H" (any one separator character between the numbers).
bool parse_frame_size(const std::string& text, int& width, int& height);

}  // namespace velmora::media
