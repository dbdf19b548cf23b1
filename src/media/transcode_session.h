// One conversion from start to end: demux, decode, filter, encode, mux.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "media/amrnb_encoder.h"
#include "media/av_holders.h"
#include "media/filter_graph.h"
#include "media/output_file.h"
#include "media/output_plan.h"
#include "media/transcode.h"

namespace velmora::media {

class TranscodeSession {
  public:
    TranscodeSession(const TInputOptions& input, const TOutputOptions& output,
                     const EngineEnvironment& env, TranscodeControl& control,
                     const TranscodeHooks& hooks, int task_index);
    TranscodeSession(const TranscodeSession&) = delete;
    TranscodeSession& operator=(const TranscodeSession&) = delete;
    ~TranscodeSession();

    // Runs the whole conversion.
    TranscodeResult run();

  private:
    // One decoded stream of the input and the output stream it feeds.
    struct Lane {
        AVMediaType type = AVMEDIA_TYPE_UNKNOWN;
        int input_index = -1;
        AVStream* input_stream = nullptr;
        CodecContextPtr decoder;
        FilterChain chain;
        std::string chain_description;
        VideoInputFormat video_in;
        AudioInputFormat audio_in;
        CodecContextPtr encoder;  // null for the own AMR-NB encoder
        std::unique_ptr<AmrNbEncoder> amrnb;
        AVStream* output_stream = nullptr;
        AVRational encoder_time_base{1, 1};
        int64_t next_pts = AV_NOPTS_VALUE;  // in the input stream's time base
        int64_t end_pts = AV_NOPTS_VALUE;   // end of the last frame filtered, as filtered
        int64_t ts_offset = 0;              // added to the stream's timestamps after jumps
        int64_t frames_encoded = 0;
        bool input_done = false;
    };

    bool fail(const std::string& text);
    void log(int level, const std::string& line) const;
    bool open_input();
    bool open_decoder(Lane& lane);
    bool prepare_output();
    bool setup_video(Lane& lane);
    bool setup_audio(Lane& lane);
    bool open_video_chain(Lane& lane, const AVFrame* like);
    bool open_audio_chain(Lane& lane, const AVFrame* like);
    bool write_header();
    bool convert();
    bool decode(Lane& lane, const AVPacket* packet);
    bool filter(Lane& lane, AVFrame* frame);
    bool drain_chain(Lane& lane);
    bool close_chain(Lane& lane);
    bool encode(Lane& lane, AVFrame* frame);
    bool encode_amrnb(Lane& lane, const AVFrame* frame);
    bool write_packet(Lane& lane, AVPacket* packet);
    bool finish_output();
    void send_preview(const AVFrame* frame);
    void report_progress(bool force);
    bool within_length(const Lane& lane, int64_t pts) const;

    const TInputOptions& input_options_;
    const TOutputOptions& output_options_;
    const EngineEnvironment& env_;
    TranscodeControl& control_;
    const TranscodeHooks& hooks_;
    const int task_index_;

    InputContextPtr input_;
    OutputPlan plan_;
    std::unique_ptr<PendingOutput> pending_;
    OutputContextPtr output_;
    Lane video_;
    Lane audio_;
    PacketPtr packet_;
    FramePtr decoded_;
    FramePtr filtered_;
    int64_t start_offset_us_ = 0;  // input time that becomes output time 0
    int64_t length_limit_us_ = -1;
    int64_t total_duration_us_ = 0;
    int64_t converted_us_ = 0;
    float last_quality_ = 0.0f;
    int decode_errors_ = 0;
    int timestamp_jumps_ = 0;
    bool header_written_ = false;
    std::string error_text_;
    std::chrono::steady_clock::time_point started_;
    std::chrono::steady_clock::duration paused_for_{};  // excluded from the speed
    std::chrono::steady_clock::time_point last_progress_;
    std::chrono::steady_clock::time_point last_preview_;
    SwsContextPtr preview_scaler_;
    std::vector<uint8_t> preview_pixels_;
};

}  // namespace velmora::media
