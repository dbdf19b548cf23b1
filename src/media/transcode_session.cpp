#include "media/transcode_session.h"

#include <algorithm>
#include <cstring>
#include <filesystem>

#include "media/av_error.h"
#include "media/input_file.h"
#include "media/log_format.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavutil/opt.h>
#include <libavutil/pixdesc.h>
}

namespace velmora::media {
namespace {

constexpr AVRational kMicroseconds{1, AV_TIME_BASE};
// The live preview gets at most this many pictures a second, at most this wide.
constexpr int kPreviewIntervalMs = 200;
constexpr int kPreviewMaxWidth = 480;
// Decoding errors and timestamp jumps logged one by one before they are only counted.
constexpr int kLoggedDecodeErrors = 5;
// Timestamp jumps larger than these count as discontinuities.
constexpr int64_t kMaxForwardJumpUs = 10 * int64_t{AV_TIME_BASE};
constexpr int64_t kMaxBackwardJumpUs = AV_TIME_BASE;

std::string q_text(AVRational q) {
    return std::to_string(q.num) + "/" + std::to_string(q.den);
}

bool same_video_input(const VideoInputFormat& format, const AVFrame* frame) {
    return format.width == frame->width && format.height == frame->height &&
           format.pixel_format == frame->format;
}

bool same_audio_input(const AudioInputFormat& format, const AVFrame* frame) {
    return format.sample_rate == frame->sample_rate && format.sample_format == frame->format &&
           av_channel_layout_compare(&format.channel_layout, &frame->ch_layout) == 0;
}

}  // namespace

TranscodeSession::TranscodeSession(const TInputOptions& input, const TOutputOptions& output,
                                   const EngineEnvironment& env, TranscodeControl& control,
                                   const TranscodeHooks& hooks, int task_index)
    : input_options_(input),
      output_options_(output),
      env_(env),
      control_(control),
      hooks_(hooks),
      task_index_(task_index) {
    video_.type = AVMEDIA_TYPE_VIDEO;
    audio_.type = AVMEDIA_TYPE_AUDIO;
}

TranscodeSession::~TranscodeSession() {
    av_channel_layout_uninit(&audio_.audio_in.channel_layout);
}

bool TranscodeSession::fail(const std::string& text) {
    if (error_text_.empty()) {
        error_text_ = text;
    }
    return false;
}

void TranscodeSession::log(int level, const std::string& line) const {
    if (hooks_.on_log) {
        hooks_.on_log(level, line);
    }
}

TranscodeResult TranscodeSession::run() {
    TranscodeResult result;
    started_ = last_progress_ = std::chrono::steady_clock::now();
    last_preview_ = started_ - std::chrono::milliseconds(kPreviewIntervalMs);
    packet_ = make_packet();
    decoded_ = make_frame();
    filtered_ = make_frame();
    bool ok = packet_ && decoded_ && filtered_;
    if (!ok) {
        fail("Out of memory");
    }
    ok = ok && open_input() && prepare_output() && write_header() && convert() && finish_output();
    if (!ok) {
        output_.reset();
        if (pending_) {
            pending_->discard();
        }
        result.failed = true;
        result.error_text = error_text_.empty() ? "The conversion failed" : error_text_;
        return result;
    }
    result.stopped = control_.stop_requested();
    result.finished = !result.stopped;
    return result;
}

bool TranscodeSession::open_input() {
    std::string error;
    input_ = velmora::media::open_input(input_options_.FileName, input_options_.FileFormat, error);
    if (!input_) {
        return fail(error);
    }
    video_.input_index = find_main_stream(input_.get(), AVMEDIA_TYPE_VIDEO);
    audio_.input_index = find_main_stream(input_.get(), AVMEDIA_TYPE_AUDIO);
    if (input_options_.ProgramIndex >= 0 &&
        static_cast<unsigned>(input_options_.ProgramIndex) < input_->nb_programs) {
        // Only the chosen program's streams.
        const AVProgram* program = input_->programs[input_options_.ProgramIndex];
        auto in_program = [&](int index) {
            for (unsigned i = 0; i < program->nb_stream_indexes; ++i) {
                if (static_cast<int>(program->stream_index[i]) == index) {
                    return true;
                }
            }
            return false;
        };
        for (Lane* lane : {&video_, &audio_}) {
            if (lane->input_index >= 0 && !in_program(lane->input_index)) {
                lane->input_index = -1;
            }
        }
    }
    for (unsigned i = 0; i < input_->nb_streams; ++i) {
        const int index = static_cast<int>(i);
        if (index != video_.input_index && index != audio_.input_index) {
            input_->streams[i]->discard = AVDISCARD_ALL;
        }
    }
    for (Lane* lane : {&video_, &audio_}) {
        if (lane->input_index >= 0 && !open_decoder(*lane)) {
            // A stream we cannot decode is left out; the other one may still convert.
            log(static_cast<int>(LogLevel::warning), error_text_);
            error_text_.clear();
            input_->streams[lane->input_index]->discard = AVDISCARD_ALL;
            lane->input_index = -1;
            lane->decoder.reset();
        }
    }
    if (video_.input_index < 0 && audio_.input_index < 0) {
        return fail("No audio or video stream of " + input_options_.FileName + " can be decoded");
    }

    const int64_t input_start = input_->start_time != AV_NOPTS_VALUE ? input_->start_time : 0;
    int64_t seek_us = input_options_.TimeStart_us > 0 ? input_options_.TimeStart_us : 0;
    if (seek_us > 0) {
        const int64_t target = input_start + seek_us;
        if (avformat_seek_file(input_.get(), -1, INT64_MIN, target, target, 0) < 0) {
            log(static_cast<int>(LogLevel::warning),
                "Cannot seek to the start time; converting from the beginning");
        }
    }
    if (output_options_.TimeStart_us > 0) {
        seek_us += output_options_.TimeStart_us;
    }
    start_offset_us_ = input_start + seek_us;
    length_limit_us_ = output_options_.TimeLength_us > 0 ? output_options_.TimeLength_us : -1;
    total_duration_us_ = input_->duration != AV_NOPTS_VALUE && input_->duration > 0
                             ? std::max<int64_t>(0, input_->duration - seek_us)
                             : 0;
    if (length_limit_us_ > 0 &&
        (total_duration_us_ <= 0 || length_limit_us_ < total_duration_us_)) {
        total_duration_us_ = length_limit_us_;
    }
    return true;
}

bool TranscodeSession::open_decoder(Lane& lane) {
    lane.input_stream = input_->streams[lane.input_index];
    const AVCodecParameters* par = lane.input_stream->codecpar;
    const AVCodec* codec = avcodec_find_decoder(par->codec_id);
    if (!codec) {
        return fail(std::string("No decoder for \"") + avcodec_get_name(par->codec_id) + "\"");
    }
    lane.decoder.reset(avcodec_alloc_context3(codec));
    if (!lane.decoder) {
        return fail("Out of memory");
    }
    int ret = avcodec_parameters_to_context(lane.decoder.get(), par);
    if (ret < 0) {
        return fail(describe_av_error("Cannot set up the decoder", ret));
    }
    lane.decoder->pkt_timebase = lane.input_stream->time_base;
    lane.decoder->thread_count = 0;
    if (lane.type == AVMEDIA_TYPE_VIDEO) {
        lane.decoder->framerate = av_guess_frame_rate(input_.get(), lane.input_stream, nullptr);
    }
    ret = avcodec_open2(lane.decoder.get(), codec, nullptr);
    if (ret < 0) {
        return fail(describe_av_error(std::string("Cannot open the decoder \"") + codec->name +
                                          "\" of " + input_options_.FileName,
                                      ret));
    }
    return true;
}

bool TranscodeSession::prepare_output() {
    SourceInfo source;
    if (video_.decoder) {
        source.has_video = true;
        source.width = video_.decoder->width;
        source.height = video_.decoder->height;
        source.pixel_format = video_.decoder->pix_fmt;
        source.frame_rate = av_guess_frame_rate(input_.get(), video_.input_stream, nullptr);
    }
    if (audio_.decoder) {
        source.has_audio = true;
        source.sample_rate = audio_.decoder->sample_rate;
        source.channels = audio_.decoder->ch_layout.nb_channels;
    }
    std::string error;
    if (!plan_output(output_options_, env_, &source, plan_, error)) {
        return fail(error);
    }
    for (const std::string& note : plan_.notes) {
        log(static_cast<int>(LogLevel::warning), note);
    }
    if (!plan_.video.enabled && video_.decoder) {
        input_->streams[video_.input_index]->discard = AVDISCARD_ALL;
        video_.decoder.reset();
        video_.input_index = -1;
    }
    if (!plan_.audio.enabled && audio_.decoder) {
        input_->streams[audio_.input_index]->discard = AVDISCARD_ALL;
        audio_.decoder.reset();
        audio_.input_index = -1;
    }

    pending_ = std::make_unique<PendingOutput>(output_options_.FileName);
    if (!pending_->ok()) {
        return fail(pending_->error_text());
    }
    AVFormatContext* raw = nullptr;
    const int ret = avformat_alloc_output_context2(&raw, plan_.format, nullptr,
                                                   pending_->temporary_path().c_str());
    if (ret < 0 || !raw) {
        return fail(describe_av_error("Cannot create the output", ret));
    }
    output_.reset(raw);
    if (video_.decoder && !setup_video(video_)) {
        return false;
    }
    if (audio_.decoder && !setup_audio(audio_)) {
        return false;
    }
    return true;
}

bool TranscodeSession::open_video_chain(Lane& lane, const AVFrame* like) {
    VideoInputFormat& in = lane.video_in;
    in.width = like ? like->width : lane.decoder->width;
    in.height = like ? like->height : lane.decoder->height;
    in.pixel_format = like ? static_cast<AVPixelFormat>(like->format) : lane.decoder->pix_fmt;
    if (in.pixel_format == AV_PIX_FMT_NONE) {
        in.pixel_format = AV_PIX_FMT_YUV420P;
    }
    in.time_base = lane.input_stream->time_base;
    in.sample_aspect = like ? like->sample_aspect_ratio : lane.decoder->sample_aspect_ratio;
    if (in.sample_aspect.num <= 0) {
        in.sample_aspect = lane.input_stream->sample_aspect_ratio;
    }
    in.frame_rate = lane.decoder->framerate;
    std::string error;
    if (!lane.chain.open_video(in, lane.chain_description, error)) {
        return fail(error);
    }
    return true;
}

bool TranscodeSession::setup_video(Lane& lane) {
    const VideoPlan& video = plan_.video;
    const AVCodec* codec = video.encoder.codec;
    const AVPixelFormat pixel_format = choose_pixel_format(codec, lane.decoder->pix_fmt);
    int width = video.width;
    int height = video.height;
    if (width <= 0) {
        // The size the user's filters produce, adapted to the encoder.
        lane.chain_description = video.user_filters;
        if (!open_video_chain(lane, nullptr)) {
            return false;
        }
        width = av_buffersink_get_w(lane.chain.sink());
        height = av_buffersink_get_h(lane.chain.sink());
        std::string error;
        std::vector<std::string> notes;
        if (!fit_frame_size(video.encoder.id, pixel_format, SizeOrigin::source, width, height,
                            notes, error)) {
            return fail(error);
        }
        for (const std::string& note : notes) {
            log(static_cast<int>(LogLevel::warning), note);
        }
    }
    const AVRational rate = video.frame_rate.num > 0 ? video.frame_rate : AVRational{25, 1};
    std::string description = video.user_filters.empty() ? "" : video.user_filters + ",";
    description +=
        "scale=" + std::to_string(width) + ":" + std::to_string(height) + ":flags=bicubic";
    if (video.display_aspect.num > 0) {
        description += ",setdar=" + q_text(video.display_aspect);
    }
    description += ",fps=" + q_text(rate);
    description += std::string(",format=pix_fmts=") + av_get_pix_fmt_name(pixel_format);
    lane.chain_description = description;
    if (!open_video_chain(lane, nullptr)) {
        return false;
    }
    const AVFilterContext* sink = lane.chain.sink();

    lane.encoder.reset(avcodec_alloc_context3(codec));
    AVCodecContext* enc = lane.encoder.get();
    if (!enc) {
        return fail("Out of memory");
    }
    enc->width = av_buffersink_get_w(sink);
    enc->height = av_buffersink_get_h(sink);
    enc->pix_fmt = static_cast<AVPixelFormat>(av_buffersink_get_format(sink));
    enc->sample_aspect_ratio = av_buffersink_get_sample_aspect_ratio(sink);
    enc->framerate = rate;
    enc->time_base = av_inv_q(rate);
    enc->thread_count = 0;
    if (video.bitrate > 0) {
        enc->bit_rate = video.bitrate;
    }
    if (video.gop_size > 0) {
        enc->gop_size = video.gop_size;
    }
    if (video.max_rate > 0) {
        enc->rc_max_rate = video.max_rate;
    }
    if (video.min_rate > 0) {
        enc->rc_min_rate = video.min_rate;
    }
    if (video.buffer_size > 0) {
        enc->rc_buffer_size = video.buffer_size;
    }
    if (video.unofficial_rate) {
        enc->strict_std_compliance = FF_COMPLIANCE_UNOFFICIAL;
    }
    if (plan_.format->flags & AVFMT_GLOBALHEADER) {
        enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    }
    Dictionary options;
    for (const auto& [key, value] : video.preset) {
        options.set(key.c_str(), value.c_str());
    }
    if (video.scan_offset) {
        options.set("scan_offset", "1");
    }
    int ret = avcodec_open2(enc, codec, options.address());
    if (ret < 0) {
        return fail(describe_av_error(std::string("Cannot open the video encoder \"") +
                                          codec->name + "\" (" + std::to_string(enc->width) + "x" +
                                          std::to_string(enc->height) + ", " + q_text(rate) +
                                          " fps)",
                                      ret));
    }
    for (const AVDictionaryEntry* e = nullptr;
         (e = av_dict_get(options.get(), "", e, AV_DICT_IGNORE_SUFFIX));) {
        log(static_cast<int>(LogLevel::warning), std::string("The video encoder \"") + codec->name +
                                                     "\" ignored the option " + e->key + "=" +
                                                     e->value);
    }
    lane.encoder_time_base = enc->time_base;

    AVStream* stream = avformat_new_stream(output_.get(), nullptr);
    if (!stream) {
        return fail("Out of memory");
    }
    ret = avcodec_parameters_from_context(stream->codecpar, enc);
    if (ret < 0) {
        return fail(describe_av_error("Cannot describe the video stream", ret));
    }
    stream->codecpar->codec_tag = video.codec_tag;
    stream->time_base = enc->time_base;
    stream->avg_frame_rate = rate;
    stream->sample_aspect_ratio = enc->sample_aspect_ratio;
    lane.output_stream = stream;
    return true;
}

bool TranscodeSession::open_audio_chain(Lane& lane, const AVFrame* like) {
    AudioInputFormat& in = lane.audio_in;
    av_channel_layout_uninit(&in.channel_layout);
    const AVCodecContext* dec = lane.decoder.get();
    in.sample_rate = like ? like->sample_rate : dec->sample_rate;
    in.sample_format = like ? static_cast<AVSampleFormat>(like->format) : dec->sample_fmt;
    if (in.sample_format == AV_SAMPLE_FMT_NONE) {
        in.sample_format = AV_SAMPLE_FMT_FLTP;
    }
    av_channel_layout_copy(&in.channel_layout, like ? &like->ch_layout : &dec->ch_layout);
    in.time_base = lane.input_stream->time_base;
    std::string error;
    if (!lane.chain.open_audio(in, lane.chain_description, error)) {
        return fail(error);
    }
    if (lane.encoder && !(lane.encoder->codec->capabilities & AV_CODEC_CAP_VARIABLE_FRAME_SIZE) &&
        lane.encoder->frame_size > 0) {
        lane.chain.set_audio_frame_size(lane.encoder->frame_size);
    } else if (lane.amrnb) {
        lane.chain.set_audio_frame_size(AmrNbEncoder::kFrameSamples);
    }
    return true;
}

bool TranscodeSession::setup_audio(Lane& lane) {
    const AudioPlan& audio = plan_.audio;
    const bool own = audio.encoder.own_amrnb;
    const AVCodec* codec = audio.encoder.codec;
    const int sample_rate =
        own ? AmrNbEncoder::kSampleRate
            : (audio.sample_rate > 0
                   ? audio.sample_rate
                   : choose_sample_rate(audio.encoder, plan_.format, lane.decoder->sample_rate));
    AVChannelLayout layout = choose_channel_layout(
        audio.encoder, audio.channels > 0 ? audio.channels : lane.decoder->ch_layout.nb_channels);
    const AVSampleFormat sample_format =
        own ? AV_SAMPLE_FMT_S16 : choose_sample_format(codec, lane.decoder->sample_fmt);
    char layout_name[128] = {};
    av_channel_layout_describe(&layout, layout_name, sizeof layout_name);

    int ret = 0;
    if (own) {
        lane.amrnb = std::make_unique<AmrNbEncoder>(static_cast<int>(audio.bitrate));
        if (!lane.amrnb->ok()) {
            av_channel_layout_uninit(&layout);
            return fail("Cannot start the AMR-NB encoder");
        }
        lane.encoder_time_base = AVRational{1, AmrNbEncoder::kSampleRate};
    } else {
        lane.encoder.reset(avcodec_alloc_context3(codec));
        AVCodecContext* enc = lane.encoder.get();
        if (!enc) {
            av_channel_layout_uninit(&layout);
            return fail("Out of memory");
        }
        enc->sample_rate = sample_rate;
        enc->sample_fmt = sample_format;
        av_channel_layout_copy(&enc->ch_layout, &layout);
        enc->time_base = AVRational{1, sample_rate};
        enc->thread_count = 0;
        if (audio.bitrate > 0) {
            enc->bit_rate = audio.bitrate;
        }
        if (plan_.format->flags & AVFMT_GLOBALHEADER) {
            enc->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
        }
        ret = avcodec_open2(enc, codec, nullptr);
        if (ret < 0) {
            av_channel_layout_uninit(&layout);
            return fail(describe_av_error(std::string("Cannot open the audio encoder \"") +
                                              codec->name + "\" (" + std::to_string(sample_rate) +
                                              " Hz, " + layout_name + ")",
                                          ret));
        }
        lane.encoder_time_base = enc->time_base;
    }

    std::string description;
    if (audio.volume >= 0) {
        description += "volume=" + std::to_string(audio.volume) + ",";
    }
    description += std::string("aformat=sample_fmts=") + av_get_sample_fmt_name(sample_format) +
                   ":sample_rates=" + std::to_string(sample_rate) +
                   ":channel_layouts=" + layout_name;
    lane.chain_description = description;
    if (!open_audio_chain(lane, nullptr)) {
        av_channel_layout_uninit(&layout);
        return false;
    }

    AVStream* stream = avformat_new_stream(output_.get(), nullptr);
    if (!stream) {
        av_channel_layout_uninit(&layout);
        return fail("Out of memory");
    }
    if (own) {
        AVCodecParameters* par = stream->codecpar;
        par->codec_type = AVMEDIA_TYPE_AUDIO;
        par->codec_id = AV_CODEC_ID_AMR_NB;
        par->sample_rate = AmrNbEncoder::kSampleRate;
        av_channel_layout_copy(&par->ch_layout, &layout);
        par->frame_size = AmrNbEncoder::kFrameSamples;
        par->bit_rate = lane.amrnb->bitrate();
    } else {
        ret = avcodec_parameters_from_context(stream->codecpar, lane.encoder.get());
        if (ret < 0) {
            av_channel_layout_uninit(&layout);
            return fail(describe_av_error("Cannot describe the audio stream", ret));
        }
    }
    av_channel_layout_uninit(&layout);
    stream->time_base = lane.encoder_time_base;
    if (!output_options_.AudioLanguage.empty()) {
        av_dict_set(&stream->metadata, "language", output_options_.AudioLanguage.c_str(), 0);
    }
    lane.output_stream = stream;
    return true;
}

bool TranscodeSession::write_header() {
    AVFormatContext* out = output_.get();
    int ret = 0;
    if (!(plan_.format->flags & AVFMT_NOFILE)) {
        const std::string url = "file:" + pending_->temporary_path();
        ret = avio_open(&out->pb, url.c_str(), AVIO_FLAG_WRITE);
        if (ret < 0) {
            return fail(
                describe_av_error("Cannot write the output file " + output_options_.FileName, ret));
        }
    }
    // Like the ffmpeg command line: at most 0.7 s between the streams in the file.
    out->max_delay = 700000;
    if (plan_.packet_size > 0) {
        out->packet_size = static_cast<unsigned>(plan_.packet_size);
    }
    Dictionary options;
    if (plan_.mux_rate > 0) {
        options.set("muxrate", plan_.mux_rate);
    }
    if (plan_.preload_us >= 0) {
        options.set("preload", plan_.preload_us);
    }
    ret = avformat_write_header(out, options.address());
    if (ret < 0) {
        return fail(describe_av_error(
            std::string("Cannot start the \"") + plan_.format->name + "\" output", ret));
    }
    header_written_ = true;
    return true;
}

bool TranscodeSession::within_length(const Lane& lane, int64_t pts) const {
    if (length_limit_us_ <= 0 || pts == AV_NOPTS_VALUE) {
        return true;
    }
    return av_rescale_q(pts, lane.input_stream->time_base, kMicroseconds) < length_limit_us_;
}

bool TranscodeSession::convert() {
    while (!control_.stop_requested()) {
        const auto before_pause = std::chrono::steady_clock::now();
        control_.wait_while_paused();
        paused_for_ += std::chrono::steady_clock::now() - before_pause;
        if (control_.stop_requested()) {
            break;
        }
        const int ret = av_read_frame(input_.get(), packet_.get());
        if (ret == AVERROR(EAGAIN)) {
            continue;
        }
        if (ret < 0) {
            if (ret != AVERROR_EOF) {
                log(static_cast<int>(LogLevel::warning),
                    describe_av_error("Reading stopped early", ret));
            }
            break;
        }
        bool ok = true;
        if (packet_->stream_index == video_.input_index && !video_.input_done) {
            ok = decode(video_, packet_.get());
        } else if (packet_->stream_index == audio_.input_index && !audio_.input_done) {
            ok = decode(audio_, packet_.get());
        }
        av_packet_unref(packet_.get());
        if (!ok) {
            return false;
        }
        report_progress(false);
        const bool video_done = video_.input_index < 0 || video_.input_done;
        const bool audio_done = audio_.input_index < 0 || audio_.input_done;
        if (video_done && audio_done) {
            break;
        }
    }
    // Whether finished or stopped, everything still in the decoders, filters and encoders is
    // written so the file plays to its last converted frame.
    for (Lane* lane : {&video_, &audio_}) {
        if (!lane->decoder) {
            continue;
        }
        if (!decode(*lane, nullptr)) {
            return false;
        }
        if (!close_chain(*lane)) {
            return false;
        }
        if (!encode(*lane, nullptr)) {
            return false;
        }
    }
    if (video_.frames_encoded == 0 && audio_.frames_encoded == 0 && !control_.stop_requested()) {
        return fail("Nothing could be decoded from " + input_options_.FileName +
                    (decode_errors_ > 0 ? " (the data is damaged)" : ""));
    }
    return true;
}

bool TranscodeSession::decode(Lane& lane, const AVPacket* packet) {
    AVCodecContext* dec = lane.decoder.get();
    int ret = avcodec_send_packet(dec, packet);
    if (ret < 0 && ret != AVERROR_EOF) {
        if (ret == AVERROR(ENOMEM)) {
            return fail("Out of memory while decoding");
        }
        if (++decode_errors_ <= kLoggedDecodeErrors) {
            log(static_cast<int>(LogLevel::warning),
                describe_av_error(std::string("Skipping damaged ") +
                                      av_get_media_type_string(lane.type) + " data",
                                  ret));
        }
        if (packet) {
            return true;
        }
    }
    while (true) {
        ret = avcodec_receive_frame(dec, decoded_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) {
            return true;
        }
        if (ret < 0) {
            if (++decode_errors_ <= kLoggedDecodeErrors) {
                log(static_cast<int>(LogLevel::warning),
                    describe_av_error("Skipping an undecodable frame", ret));
            }
            if (ret == AVERROR(ENOMEM)) {
                return fail("Out of memory while decoding");
            }
            // Go on with the next packet (or, at the end, give up what is left in the decoder).
            return true;
        }
        AVFrame* frame = decoded_.get();
        const AVRational tb = lane.input_stream->time_base;
        int64_t pts = frame->best_effort_timestamp;
        if (pts == AV_NOPTS_VALUE) {
            pts = lane.next_pts != AV_NOPTS_VALUE ? lane.next_pts : 0;
        } else {
            pts += lane.ts_offset;
        }
        // A jump in the timestamps (a damaged file, a broadcast discontinuity) would make the
        // frame-rate filter fill the gap with copies: continue where the stream was instead.
        if (lane.next_pts != AV_NOPTS_VALUE) {
            const int64_t jump_us = av_rescale_q(pts - lane.next_pts, tb, kMicroseconds);
            if (jump_us > kMaxForwardJumpUs || jump_us < -kMaxBackwardJumpUs) {
                lane.ts_offset += lane.next_pts - pts;
                pts = lane.next_pts;
                if (++timestamp_jumps_ <= kLoggedDecodeErrors) {
                    log(static_cast<int>(LogLevel::warning),
                        std::string("The ") + av_get_media_type_string(lane.type) +
                            " timestamps jump by " + std::to_string(jump_us / 1000) +
                            " ms; continuing without the gap");
                }
            }
        }
        // Where the next frame is expected when it carries no time.
        if (lane.type == AVMEDIA_TYPE_AUDIO && frame->sample_rate > 0) {
            lane.next_pts =
                pts + av_rescale_q(frame->nb_samples, AVRational{1, frame->sample_rate}, tb);
        } else if (frame->pkt_duration > 0) {
            lane.next_pts = pts + frame->pkt_duration;
        } else {
            const AVRational rate = dec->framerate.num > 0 ? dec->framerate : AVRational{25, 1};
            lane.next_pts = pts + std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), tb));
        }
        const int64_t shift = av_rescale_q(start_offset_us_, kMicroseconds, tb);
        pts -= shift;
        const int64_t frame_end = lane.next_pts - shift;
        frame->pts = pts;
        if (!within_length(lane, pts)) {
            lane.input_done = true;
            av_frame_unref(frame);
            return true;
        }
        if (input_options_.TimeStart_us > 0 || output_options_.TimeStart_us > 0) {
            if (pts < 0) {
                av_frame_unref(frame);
                continue;
            }
        }
        const bool ok = filter(lane, frame);
        lane.end_pts = frame_end;
        av_frame_unref(frame);
        if (!ok) {
            return false;
        }
    }
}

bool TranscodeSession::filter(Lane& lane, AVFrame* frame) {
    // Frames whose size or sample layout changed mid-stream get a freshly built chain.
    const bool changed = lane.type == AVMEDIA_TYPE_VIDEO ? !same_video_input(lane.video_in, frame)
                                                         : !same_audio_input(lane.audio_in, frame);
    if (changed && !close_chain(lane)) {
        return false;
    }
    if (changed) {
        const bool reopened = lane.type == AVMEDIA_TYPE_VIDEO ? open_video_chain(lane, frame)
                                                              : open_audio_chain(lane, frame);
        if (!reopened) {
            return false;
        }
    }
    const int ret = lane.chain.push(frame);
    if (ret < 0) {
        return fail(describe_av_error("Filtering failed", ret));
    }
    return drain_chain(lane);
}

bool TranscodeSession::close_chain(Lane& lane) {
    if (!lane.chain.is_open()) {
        return true;
    }
    if (lane.end_pts != AV_NOPTS_VALUE) {
        lane.chain.close(lane.end_pts);
    } else {
        lane.chain.push(nullptr);
    }
    return drain_chain(lane);
}

bool TranscodeSession::drain_chain(Lane& lane) {
    while (true) {
        const int ret = lane.chain.pull(filtered_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) {
            return true;
        }
        if (ret < 0) {
            return fail(describe_av_error("Filtering failed", ret));
        }
        AVFrame* frame = filtered_.get();
        const AVRational sink_tb = av_buffersink_get_time_base(lane.chain.sink());
        if (frame->pts != AV_NOPTS_VALUE) {
            frame->pts = av_rescale_q(frame->pts, sink_tb, lane.encoder_time_base);
        }
        // Picture types of the source must not force the encoder's choices.
        frame->pict_type = AV_PICTURE_TYPE_NONE;
        if (lane.type == AVMEDIA_TYPE_VIDEO) {
            send_preview(frame);
        }
        const bool ok = encode(lane, frame);
        av_frame_unref(frame);
        if (!ok) {
            return false;
        }
    }
}

bool TranscodeSession::encode(Lane& lane, AVFrame* frame) {
    if (lane.amrnb) {
        return frame ? encode_amrnb(lane, frame) : true;
    }
    AVCodecContext* enc = lane.encoder.get();
    if (!enc) {
        return true;
    }
    int ret = avcodec_send_frame(enc, frame);
    if (ret == AVERROR_EOF) {
        return true;
    }
    if (ret < 0) {
        return fail(describe_av_error(
            std::string("Encoding with \"") + enc->codec->name + "\" failed", ret));
    }
    if (frame) {
        ++lane.frames_encoded;
    }
    while (true) {
        ret = avcodec_receive_packet(enc, packet_.get());
        if (ret == AVERROR(EAGAIN) || ret == AVERROR_EOF) {
            return true;
        }
        if (ret < 0) {
            return fail(describe_av_error(
                std::string("Encoding with \"") + enc->codec->name + "\" failed", ret));
        }
        if (lane.type == AVMEDIA_TYPE_VIDEO) {
            size_t size = 0;
            const uint8_t* stats =
                av_packet_get_side_data(packet_.get(), AV_PKT_DATA_QUALITY_STATS, &size);
            if (stats && size >= 4) {
                const int quality = stats[0] | stats[1] << 8 | stats[2] << 16 | stats[3] << 24;
                last_quality_ = static_cast<float>(quality) / FF_QP2LAMBDA;
            }
        }
        if (!write_packet(lane, packet_.get())) {
            return false;
        }
    }
}

bool TranscodeSession::encode_amrnb(Lane& lane, const AVFrame* frame) {
    const std::vector<uint8_t> bytes =
        lane.amrnb->encode(reinterpret_cast<const int16_t*>(frame->data[0]), frame->nb_samples);
    if (bytes.empty()) {
        return fail("The AMR-NB encoder failed");
    }
    PacketPtr packet = make_packet();
    if (!packet || av_new_packet(packet.get(), static_cast<int>(bytes.size())) < 0) {
        return fail("Out of memory");
    }
    std::memcpy(packet->data, bytes.data(), bytes.size());
    packet->pts = packet->dts = frame->pts != AV_NOPTS_VALUE
                                    ? frame->pts
                                    : lane.frames_encoded * AmrNbEncoder::kFrameSamples;
    packet->duration = AmrNbEncoder::kFrameSamples;
    packet->flags |= AV_PKT_FLAG_KEY;
    ++lane.frames_encoded;
    return write_packet(lane, packet.get());
}

bool TranscodeSession::write_packet(Lane& lane, AVPacket* packet) {
    packet->stream_index = lane.output_stream->index;
    av_packet_rescale_ts(packet, lane.encoder_time_base, lane.output_stream->time_base);
    if (packet->pts != AV_NOPTS_VALUE) {
        const int64_t end = av_rescale_q(packet->pts + std::max<int64_t>(0, packet->duration),
                                         lane.output_stream->time_base, kMicroseconds);
        converted_us_ = std::max(converted_us_, end);
    }
    const int ret = av_interleaved_write_frame(output_.get(), packet);
    av_packet_unref(packet);
    if (ret < 0) {
        return fail(describe_av_error("Cannot write to " + output_options_.FileName, ret));
    }
    return true;
}

bool TranscodeSession::finish_output() {
    int ret = av_write_trailer(output_.get());
    if (ret < 0) {
        return fail(describe_av_error("Cannot finish the output " + output_options_.FileName, ret));
    }
    if (output_->pb) {
        avio_flush(output_->pb);
        if (output_->pb->error < 0) {
            return fail(describe_av_error("Cannot write to " + output_options_.FileName,
                                          output_->pb->error));
        }
    }
    output_.reset();  // closes the file before it is renamed
    if (video_.frames_encoded == 0 && audio_.frames_encoded == 0) {
        // Stopped before anything was converted: an empty container would not play, and a
        // file of that name stays as it was.
        pending_->discard();
        return true;
    }
    std::string error;
    if (!pending_->commit(error)) {
        return fail(error);
    }
    report_progress(true);
    return true;
}

void TranscodeSession::send_preview(const AVFrame* frame) {
    if (!hooks_.on_preview_frame || !hooks_.preview_wanted) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    if (now - last_preview_ < std::chrono::milliseconds(kPreviewIntervalMs) ||
        !hooks_.preview_wanted()) {
        return;
    }
    last_preview_ = now;
    // Shown at its display aspect, no wider than kPreviewMaxWidth.
    AVRational sar =
        frame->sample_aspect_ratio.num > 0 ? frame->sample_aspect_ratio : AVRational{1, 1};
    const double display_width = frame->width * av_q2d(sar);
    const double scale = std::min(1.0, kPreviewMaxWidth / display_width);
    const int width = std::max(2, static_cast<int>(display_width * scale) / 2 * 2);
    const int height = std::max(2, static_cast<int>(frame->height * scale) / 2 * 2);
    preview_scaler_.reset(
        sws_getCachedContext(preview_scaler_.release(), frame->width, frame->height,
                             static_cast<AVPixelFormat>(frame->format), width, height,
                             AV_PIX_FMT_RGB24, SWS_FAST_BILINEAR, nullptr, nullptr, nullptr));
    if (!preview_scaler_) {
        return;
    }
    const int stride = width * 3;
    preview_pixels_.resize(static_cast<size_t>(stride) * height);
    uint8_t* planes[4] = {preview_pixels_.data(), nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    sws_scale(preview_scaler_.get(), frame->data, frame->linesize, 0, frame->height, planes,
              strides);
    PreviewFrame picture;
    picture.width = width;
    picture.height = height;
    picture.stride = stride;
    picture.rgb = preview_pixels_.data();
    hooks_.on_preview_frame(picture);
}

void TranscodeSession::report_progress(bool force) {
    if (!hooks_.on_progress) {
        return;
    }
    const auto now = std::chrono::steady_clock::now();
    const auto interval = std::chrono::milliseconds(std::max(1, hooks_.progress_interval_ms));
    if (!force && now - last_progress_ < interval) {
        return;
    }
    last_progress_ = now;
    TProgressInfo info;
    info.TaskIndex = task_index_;
    info.FileIndex = 0;
    const int64_t frames = video_.output_stream ? video_.frames_encoded : audio_.frames_encoded;
    info.FrameNumber = static_cast<int32_t>(std::min<int64_t>(frames, INT32_MAX));
    const double seconds = std::chrono::duration<double>(now - started_ - paused_for_).count();
    info.FPS = seconds > 0.0 ? static_cast<int32_t>(frames / seconds + 0.5) : 0;
    info.Quality = last_quality_;
    info.CurrentSize = output_ && output_->pb ? std::max<int64_t>(0, avio_tell(output_->pb)) : 0;
    if (!output_ && pending_) {
        std::error_code ec;
        const auto size = std::filesystem::file_size(pending_->final_path(), ec);
        info.CurrentSize = ec ? 0 : static_cast<int64_t>(size);
    }
    info.CurrentDuration = converted_us_;
    info.TotalDuration = total_duration_us_;
    // kbit/s of the output so far, like the ffmpeg command line's status line.
    info.BitRate = converted_us_ > 0
                       ? static_cast<float>(info.CurrentSize * 8.0 * 1000.0 / converted_us_)
                       : 0.0f;
    hooks_.on_progress(info);
}

}  // namespace velmora::media
