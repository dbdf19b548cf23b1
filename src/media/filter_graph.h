// One libavfilter chain: a buffer source, a filter description, a buffer sink.
#pragma once

#include <string>

#include "media/av_holders.h"

extern "C" {
#include <libavutil/channel_layout.h>
}

namespace velmora::media {

// The frames a video chain receives.
struct VideoInputFormat {
    int width = 0;
    int height = 0;
    AVPixelFormat pixel_format = AV_PIX_FMT_NONE;
    AVRational time_base{1, 25};
    AVRational sample_aspect{0, 1};
    AVRational frame_rate{0, 1};
};

// The frames an audio chain receives.
struct AudioInputFormat {
    int sample_rate = 0;
    AVSampleFormat sample_format = AV_SAMPLE_FMT_NONE;
    AVChannelLayout channel_layout{};
    AVRational time_base{1, 44100};
};

class FilterChain {
  public:
    FilterChain() = default;
    FilterChain(FilterChain&&) = default;
    FilterChain& operator=(FilterChain&&) = default;

    // Builds and configures buffer -> description -> buffersink ("" passes frames unchanged).
    bool open_video(const VideoInputFormat& input, const std::string& description,
                    std::string& error_text);
    bool open_audio(const AudioInputFormat& input, const std::string& description,
                    std::string& error_text);
    bool is_open() const { return graph_ != nullptr; }

    // Hands a frame in (its data is taken over); null marks the end of the input.
    int push(AVFrame* frame);
    // Takes the next filtered frame: 0, AVERROR(EAGAIN) when more input is needed, AVERROR_EOF.
    int pull(AVFrame* frame);
    // Ends the input at end_pts (source time base), so the last frame keeps its duration.
    int close(int64_t end_pts);

    // The sink, for its negotiated output (size, format, time base...).
    const AVFilterContext* sink() const { return sink_; }
    // Makes the audio sink deliver frames of exactly samples samples (encoders of fixed size).
    void set_audio_frame_size(int samples);

  private:
    bool finish(const char* source_name, const std::string& source_args, const char* sink_name,
                const std::string& description, std::string& error_text);

    FilterGraphPtr graph_;
    AVFilterContext* source_ = nullptr;
    AVFilterContext* sink_ = nullptr;
};

}  // namespace velmora::media
