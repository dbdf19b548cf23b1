#include "media/player_session.h"

#include <algorithm>
#include <cstring>

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/samplefmt.h>
}

#include "media/av_error.h"
#include "media/player_file_info.h"

namespace velmora::media {
namespace {

using std::chrono::milliseconds;

constexpr AVRational kMicroseconds{1, 1000000};
// The reader rests once every stream holds this many packets, or all of them this many bytes.
constexpr size_t kEnoughPackets = 60;
constexpr size_t kMaxQueuedBytes = 16 * 1024 * 1024;
// How often idle threads look at their stop flag and the clock.
constexpr milliseconds kPoll{5};
// While paused nothing is due, so the threads look less often; a seek or a stop wakes the reader.
constexpr milliseconds kPausedPoll{20};
// Position reports wait for the shown time to move by more than this.
constexpr int64_t kPositionStepUs = 10000;

void sleep_for(milliseconds time) {
    std::this_thread::sleep_for(time);
}

}  // namespace

std::unique_ptr<PlayerSession> PlayerSession::open(const std::string& path,
                                                   std::string& error_text) {
    std::unique_ptr<PlayerSession> session(new PlayerSession());
    AVFormatContext* raw = nullptr;
    int ret = avformat_open_input(&raw, path.c_str(), nullptr, nullptr);
    if (ret < 0) {
        error_text = describe_av_error("Cannot open " + path, ret);
        return nullptr;
    }
    session->format_.reset(raw);
    AVFormatContext* format = raw;
    ret = avformat_find_stream_info(format, nullptr);
    if (ret < 0) {
        error_text = describe_av_error("Cannot read the streams of " + path, ret);
        return nullptr;
    }
    int video = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (video >= 0 && (format->streams[video]->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
        video = -1;  // a cover picture is no video to play
    }
    const int audio = av_find_best_stream(format, AVMEDIA_TYPE_AUDIO, -1, video, nullptr, 0);
    std::string decoder_error;
    if (video >= 0 && session->open_decoder(video, session->video_codec_, decoder_error)) {
        session->video_index_ = video;
    }
    if (audio >= 0 && session->open_decoder(audio, session->audio_codec_, decoder_error)) {
        session->audio_index_ = audio;
    }
    if (session->video_index_ < 0 && session->audio_index_ < 0) {
        error_text =
            !decoder_error.empty() ? decoder_error : "No audio or video stream to play in " + path;
        return nullptr;
    }
    session->start_us_ = format->start_time != AV_NOPTS_VALUE ? format->start_time : 0;
    session->duration_us_ = format->duration != AV_NOPTS_VALUE ? format->duration : 0;
    if (session->video_index_ >= 0) {
        AVStream* stream = format->streams[session->video_index_];
        const AVRational rate = av_guess_frame_rate(format, stream, nullptr);
        if (rate.num > 0 && rate.den > 0) {
            session->frame_duration_us_ = av_rescale(1000000, rate.den, rate.num);
        }
    }
    session->info_text_ = describe_opened_file(*format, path);
    return session;
}

bool PlayerSession::open_decoder(int index, CodecContextPtr& context, std::string& error_text) {
    AVStream* stream = format_->streams[index];
    const AVCodec* codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec) {
        error_text = std::string("No decoder for ") + avcodec_get_name(stream->codecpar->codec_id);
        return false;
    }
    context.reset(avcodec_alloc_context3(codec));
    if (!context) {
        error_text = "Out of memory";
        return false;
    }
    int ret = avcodec_parameters_to_context(context.get(), stream->codecpar);
    if (ret < 0) {
        error_text = describe_av_error("Cannot set up the decoder", ret);
        context.reset();
        return false;
    }
    context->pkt_timebase = stream->time_base;
    if (codec->type == AVMEDIA_TYPE_VIDEO) {
        context->thread_count = 0;  // as many as the machine has
    }
    ret = avcodec_open2(context.get(), codec, nullptr);
    if (ret < 0) {
        error_text = describe_av_error(std::string("Cannot open the decoder ") + codec->name, ret);
        context.reset();
        return false;
    }
    return true;
}

PlayerSession::~PlayerSession() {
    join();
}

int PlayerSession::frame_width() const {
    return has_video() ? format_->streams[video_index_]->codecpar->width : -1;
}

int PlayerSession::frame_height() const {
    return has_video() ? format_->streams[video_index_]->codecpar->height : -1;
}

void PlayerSession::start(SessionOutput output) {
    output_ = std::move(output);
    paused_ = output_.start == OpenStart::paused;
    clock_.set_paused(paused_);
    clock_.set_us(0);
    if (has_audio()) {
        audio_active_ = audio_.open(
            audio_codec_->sample_rate, audio_codec_->ch_layout.nb_channels,
            [this](uint8_t* stream, int len) { fill_audio(stream, len); }, audio_error_);
    }
    reader_ = std::thread([this] { read_loop(); });
    if (has_video()) {
        video_decoder_ = std::thread([this] { decode_loop(true); });
    }
    if (audio_active_) {
        audio_decoder_ = std::thread([this] { decode_loop(false); });
        audio_.set_paused(paused_);
    }
    presenter_ = std::thread([this] { present_loop(); });
}

bool PlayerSession::pause() {
    if (paused_) {
        return false;
    }
    paused_ = true;
    audio_.set_paused(true);
    clock_.set_paused(true);
    return true;
}

bool PlayerSession::resume() {
    if (!paused_) {
        return false;
    }
    paused_ = false;
    clock_.set_paused(false);
    audio_.set_paused(false);
    return true;
}

int64_t PlayerSession::seek(int64_t target_us, SeekFlags flags) {
    if (duration_us_ > 0) {
        target_us = std::min(target_us, duration_us_);
    }
    target_us = std::max<int64_t>(target_us, 0);
    std::lock_guard lock(control_mutex_);
    seek_pending_ = true;
    seek_request_us_ = target_us;
    seek_any_ = flags == SeekFlags::sfAny;
    control_changed_.notify_all();
    return ++seek_requests_;
}

bool PlayerSession::wait_seek_end(int64_t request, milliseconds timeout) {
    std::unique_lock lock(settle_mutex_);
    return settled_changed_.wait_for(lock, timeout, [&] {
        return abort_ || (handled_request_ >= request && settled_serial_ >= handled_serial_);
    });
}

bool PlayerSession::wait_first_picture(milliseconds timeout) {
    std::unique_lock lock(settle_mutex_);
    return settled_changed_.wait_for(lock, timeout, [&] { return abort_ || settled_serial_ >= 0; });
}

void PlayerSession::request_stop() {
    abort_ = true;
    video_packets_.abort();
    audio_packets_.abort();
    video_frames_.abort();
    audio_chunks_.abort();
    {
        std::lock_guard lock(control_mutex_);
        control_changed_.notify_all();
    }
    std::lock_guard lock(settle_mutex_);
    settled_changed_.notify_all();
}

void PlayerSession::join() {
    request_stop();
    audio_.close();
    for (std::thread* thread : {&reader_, &video_decoder_, &audio_decoder_, &presenter_}) {
        if (thread->joinable()) {
            thread->join();
        }
    }
}

void PlayerSession::redraw() {
    redraw_requested_ = true;
}

RgbPicture PlayerSession::current_frame() const {
    std::lock_guard lock(shown_mutex_);
    return shown_frame_ ? frame_to_rgb(*shown_frame_) : RgbPicture{};
}

PlaybackFigures PlayerSession::figures() const {
    return {shown_frames_.load(), late_frames_.load(), dropped_frames_.load(),
            audio_underruns_.load()};
}

// ---- Reader ----

bool PlayerSession::packet_queues_full() const {
    if (video_packets_.weight() + audio_packets_.weight() > kMaxQueuedBytes) {
        return true;
    }
    const bool video_enough = !has_video() || video_packets_.count() >= kEnoughPackets;
    const bool audio_enough = !audio_active_ || audio_packets_.count() >= kEnoughPackets;
    return video_enough && audio_enough;
}

void PlayerSession::read_loop() {
    PacketPtr packet = make_packet();
    bool at_end = false;
    while (!abort_) {
        bool seek_now = false;
        int64_t target_us = 0;
        bool any_frame = false;
        int64_t request = 0;
        {
            std::unique_lock lock(control_mutex_);
            if (!seek_pending_ && (at_end || packet_queues_full())) {
                control_changed_.wait_for(lock, clock_.paused() ? kPausedPoll : kPoll,
                                          [&] { return abort_ || seek_pending_; });
                if (!seek_pending_) {
                    continue;
                }
            }
            if (seek_pending_) {
                seek_now = true;
                seek_pending_ = false;
                target_us = seek_request_us_;
                any_frame = seek_any_;
                request = seek_requests_;
            }
        }
        if (seek_now) {
            perform_seek(target_us, any_frame, request);
            at_end = false;
            continue;
        }
        if (!packet) {
            packet = make_packet();
            if (!packet) {
                sleep_for(kPoll);
                continue;
            }
        }
        const int ret = av_read_frame(format_.get(), packet.get());
        if (ret == AVERROR(EAGAIN)) {
            sleep_for(kPoll);
            continue;
        }
        const int serial = serial_;
        if (ret < 0) {
            // The end of the file, or damage that ends it early: let the decoders drain.
            if (has_video()) {
                video_packets_.push({nullptr, serial});
            }
            if (audio_active_) {
                audio_packets_.push({nullptr, serial});
            }
            at_end = true;
            continue;
        }
        if (packet->stream_index == video_index_) {
            video_packets_.push({std::move(packet), serial});
        } else if (packet->stream_index == audio_index_ && audio_active_) {
            audio_packets_.push({std::move(packet), serial});
        } else {
            av_packet_unref(packet.get());
        }
    }
}

void PlayerSession::perform_seek(int64_t target_us, bool any_frame, int64_t request) {
    const int64_t ts = target_us + start_us_;
    const int flags = any_frame ? AVSEEK_FLAG_ANY : 0;
    // A key frame at or before the target first; any near one when there is none before it.
    if (avformat_seek_file(format_.get(), -1, INT64_MIN, ts, ts, flags) < 0) {
        avformat_seek_file(format_.get(), -1, INT64_MIN, ts, INT64_MAX, flags);
    }
    const int serial = serial_ + 1;
    video_packets_.clear(serial);
    audio_packets_.clear(serial);
    video_frames_.clear(serial);
    audio_chunks_.clear(serial);
    seek_target_us_ = target_us;
    clock_.set_us(target_us);
    serial_ = serial;
    std::lock_guard lock(settle_mutex_);
    handled_request_ = request;
    handled_serial_ = serial;
}

// ---- Decoders ----

int64_t PlayerSession::frame_pts_us(const AVFrame& frame, AVRational time_base) const {
    if (frame.best_effort_timestamp == AV_NOPTS_VALUE) {
        return AV_NOPTS_VALUE;
    }
    return av_rescale_q(frame.best_effort_timestamp, time_base, kMicroseconds) - start_us_;
}

void PlayerSession::decode_loop(bool video) {
    PlayerQueue<PacketItem>& packets = video ? video_packets_ : audio_packets_;
    AVCodecContext* codec = video ? video_codec_.get() : audio_codec_.get();
    FramePtr frame = make_frame();
    int decoder_serial = -1;
    while (!abort_ && frame) {
        std::optional<PacketItem> item = packets.pop(milliseconds(50));
        if (!item || item->serial != serial_) {
            continue;
        }
        if (item->serial != decoder_serial) {
            if (decoder_serial != -1) {
                avcodec_flush_buffers(codec);
            }
            decoder_serial = item->serial;
            (video ? next_video_pts_us_ : next_audio_pts_us_) = AV_NOPTS_VALUE;
        }
        const bool drain = !item->packet;
        // A damaged packet is skipped; the next key frame recovers the picture.
        avcodec_send_packet(codec, item->packet.get());
        while (!abort_ && avcodec_receive_frame(codec, frame.get()) >= 0) {
            if (video) {
                on_video_frame(std::move(frame), decoder_serial);
                frame = make_frame();
                if (!frame) {
                    break;
                }
            } else {
                on_audio_frame(*frame, decoder_serial);
                av_frame_unref(frame.get());
            }
        }
        if (drain) {
            if (video) {
                video_frames_.push({nullptr, decoder_serial, 0});
            } else {
                AudioChunk end;
                end.serial = decoder_serial;
                end.end = true;
                audio_chunks_.push(std::move(end));
            }
        }
    }
}

void PlayerSession::on_video_frame(FramePtr frame, int serial) {
    int64_t pts_us = frame_pts_us(*frame, format_->streams[video_index_]->time_base);
    if (pts_us == AV_NOPTS_VALUE) {
        pts_us = next_video_pts_us_ != AV_NOPTS_VALUE ? next_video_pts_us_ : seek_target_us_.load();
    }
    next_video_pts_us_ = pts_us + frame_duration_us_;
    video_frames_.push({std::move(frame), serial, pts_us});
}

void PlayerSession::on_audio_frame(const AVFrame& frame, int serial) {
    const int out_rate = audio_.sample_rate();
    const int out_channels = audio_.channels();
    const int in_channels = frame.ch_layout.nb_channels;
    if (frame.nb_samples <= 0 || in_channels <= 0 || out_rate <= 0) {
        return;
    }
    if (!resampler_ || resampler_rate_ != frame.sample_rate || resampler_format_ != frame.format ||
        resampler_channels_ != in_channels) {
        AVChannelLayout in_layout{};
        if (frame.ch_layout.order == AV_CHANNEL_ORDER_UNSPEC) {
            av_channel_layout_default(&in_layout, in_channels);
        } else {
            av_channel_layout_copy(&in_layout, &frame.ch_layout);
        }
        AVChannelLayout out_layout{};
        av_channel_layout_default(&out_layout, out_channels);
        SwrContext* raw = nullptr;
        const int ret = swr_alloc_set_opts2(&raw, &out_layout, AV_SAMPLE_FMT_S16, out_rate,
                                            &in_layout, static_cast<AVSampleFormat>(frame.format),
                                            frame.sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in_layout);
        av_channel_layout_uninit(&out_layout);
        resampler_.reset(raw);
        if (ret < 0 || swr_init(resampler_.get()) < 0) {
            resampler_.reset();
            return;
        }
        resampler_rate_ = frame.sample_rate;
        resampler_format_ = frame.format;
        resampler_channels_ = in_channels;
    }
    const int bytes_per_sample = out_channels * 2;
    const int capacity = swr_get_out_samples(resampler_.get(), frame.nb_samples) + 32;
    AudioChunk chunk;
    chunk.serial = serial;
    chunk.pcm.resize(static_cast<size_t>(capacity) * bytes_per_sample);
    uint8_t* out = chunk.pcm.data();
    const int samples =
        swr_convert(resampler_.get(), &out, capacity,
                    const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    if (samples <= 0) {
        return;
    }
    chunk.pcm.resize(static_cast<size_t>(samples) * bytes_per_sample);
    int64_t pts_us = frame_pts_us(frame, format_->streams[audio_index_]->time_base);
    if (pts_us == AV_NOPTS_VALUE) {
        pts_us = next_audio_pts_us_ != AV_NOPTS_VALUE ? next_audio_pts_us_ : seek_target_us_.load();
    }
    next_audio_pts_us_ = pts_us + int64_t{samples} * 1000000 / out_rate;
    // After a seek the sound starts at the target, not at the key frame before it.
    const int64_t target_us = seek_target_us_;
    if (pts_us < target_us) {
        const int64_t skip = (target_us - pts_us) * out_rate / 1000000;
        if (skip >= samples) {
            return;
        }
        chunk.pcm.erase(chunk.pcm.begin(), chunk.pcm.begin() + skip * bytes_per_sample);
        pts_us = target_us;
    }
    chunk.pts_us = pts_us;
    audio_chunks_.push(std::move(chunk));
}

// ---- Sound output (SDL's thread) ----

void PlayerSession::fill_audio(uint8_t* stream, int len) {
    if (len <= 0) {
        return;
    }
    const auto called_at = PlayerClock::Steady::now();
    const int serial = serial_;
    const int bytes_per_second = audio_.bytes_per_second();
    const int bytes_per_sample = audio_.channels() * 2;
    int written = 0;
    int64_t first_pts_us = AV_NOPTS_VALUE;
    while (written < len) {
        if (!playing_chunk_) {
            playing_chunk_ = audio_chunks_.try_pop();
            chunk_offset_ = 0;
            if (!playing_chunk_) {
                break;
            }
        }
        if (playing_chunk_->serial != serial) {
            playing_chunk_.reset();
            continue;
        }
        if (playing_chunk_->end) {
            audio_end_serial_ = serial;
            playing_chunk_.reset();
            continue;
        }
        if (first_pts_us == AV_NOPTS_VALUE) {
            first_pts_us = playing_chunk_->pts_us +
                           static_cast<int64_t>(chunk_offset_) * 1000000 / bytes_per_second;
        }
        const size_t left = playing_chunk_->pcm.size() - chunk_offset_;
        const size_t n = std::min(left, static_cast<size_t>(len - written));
        std::memcpy(stream + written, playing_chunk_->pcm.data() + chunk_offset_, n);
        written += static_cast<int>(n);
        chunk_offset_ += n;
        if (chunk_offset_ >= playing_chunk_->pcm.size()) {
            playing_chunk_.reset();
        }
    }
    // Whole samples only, then silence.
    written = std::clamp(written - written % bytes_per_sample, 0, len);
    std::memset(stream + written, 0, static_cast<size_t>(len) - static_cast<size_t>(written));
    if (output_.mute && output_.mute->load()) {
        std::memset(stream, 0, static_cast<size_t>(len));
    }
    if (first_pts_us != AV_NOPTS_VALUE && serial == serial_) {
        // What was written now is heard once the device's buffer ahead of it has played.
        clock_.set_at_us(first_pts_us,
                         called_at + std::chrono::microseconds(audio_.buffer_delay_us()));
    } else if (audio_end_serial_ != serial) {
        ++audio_underruns_;
    }
}

// ---- Presenter ----

void PlayerSession::settle(int serial) {
    std::lock_guard lock(settle_mutex_);
    settled_serial_ = std::max(settled_serial_, serial);
    settled_changed_.notify_all();
}

void PlayerSession::show(FramePtr frame) {
    const VideoPicture picture =
        scaler_.scale(*frame, output_.display_width, output_.display_height);
    if (picture.rgb && output_.sink) {
        output_.sink->present(picture);
    }
    ++shown_frames_;
    std::lock_guard lock(shown_mutex_);
    shown_frame_ = std::move(frame);
}

bool PlayerSession::step_video(int serial, bool& first_pending, bool& video_done,
                               FramePtr& held_back) {
    struct Front {
        bool present = false;
        int serial = 0;
        bool end = false;
        int64_t pts_us = 0;
    };
    auto peek = [this] {
        return video_frames_.with_front([](FrameItem* item) {
            return item ? Front{true, item->serial, !item->frame, item->pts_us} : Front{};
        });
    };
    const Front front = peek();
    if (!front.present) {
        return false;
    }
    if (front.serial != serial) {
        video_frames_.try_pop();
        return true;
    }
    if (front.end) {
        video_frames_.try_pop();
        video_done = true;
        if (first_pending) {
            // Nothing at or after the target: show the last picture before it.
            if (held_back) {
                show(std::move(held_back));
            }
            first_pending = false;
            settle(serial);
        }
        return true;
    }
    if (first_pending) {
        std::optional<FrameItem> item = video_frames_.try_pop();
        if (!item) {
            return false;
        }
        if (item->pts_us + frame_duration_us_ / 2 <= seek_target_us_) {
            held_back = std::move(item->frame);
            return true;
        }
        held_back.reset();
        if (!audio_active_) {
            clock_.set_us(item->pts_us);
        }
        show(std::move(item->frame));
        first_pending = false;
        settle(serial);
        return true;
    }
    const int64_t now_us = clock_.now_us();
    const int64_t wait_us = front.pts_us - now_us;
    if (wait_us > 0) {
        if (clock_.paused()) {
            return false;  // nothing comes due until the playback resumes
        }
        std::this_thread::sleep_for(std::chrono::microseconds(std::min<int64_t>(wait_us, 5000)));
        return true;
    }
    std::optional<FrameItem> item = video_frames_.try_pop();
    if (!item) {
        return false;
    }
    if (-wait_us > frame_duration_us_) {
        // Late: skip it when the next picture is due already, otherwise show it late.
        const Front next = peek();
        if (next.present && !next.end && next.serial == serial && next.pts_us <= now_us) {
            ++dropped_frames_;
            return true;
        }
        ++late_frames_;
    }
    show(std::move(item->frame));
    return true;
}

bool PlayerSession::sound_done(int serial) const {
    if (audio_active_) {
        return audio_end_serial_ == serial;
    }
    // Sound that cannot be heard (no output device) ends on the clock when nothing else plays.
    return !has_audio() || has_video() || duration_us_ <= 0 || clock_.now_us() >= duration_us_;
}

void PlayerSession::present_loop() {
    int serial = -1;
    bool first_pending = false;
    bool video_done = false;
    bool ended = false;
    int64_t last_reported_us = INT64_MIN;
    FramePtr held_back;
    while (!abort_) {
        const int now_serial = serial_;
        if (now_serial != serial) {
            serial = now_serial;
            first_pending = has_video();
            video_done = !has_video();
            ended = false;
            held_back.reset();
            last_reported_us = INT64_MIN;
            if (!has_video()) {
                settle(serial);
            }
        }
        if (redraw_requested_.exchange(false)) {
            FramePtr again;
            {
                std::lock_guard lock(shown_mutex_);
                if (shown_frame_) {
                    again.reset(av_frame_clone(shown_frame_.get()));
                }
            }
            if (again) {
                const VideoPicture picture =
                    scaler_.scale(*again, output_.display_width, output_.display_height);
                if (picture.rgb && output_.sink) {
                    output_.sink->present(picture);
                }
            }
        }
        bool busy = false;
        if (!video_done) {
            busy = step_video(serial, first_pending, video_done, held_back);
        }
        if (!first_pending && !ended) {
            int64_t position_us = std::max<int64_t>(clock_.now_us(), 0);
            if (duration_us_ > 0) {
                position_us = std::min(position_us, duration_us_);
            }
            // Between seeks the shown time only moves forward: the sound's first samples
            // after a start may pull the clock back by the device's buffer, which the slider
            // should not show.
            if (last_reported_us == INT64_MIN || position_us - last_reported_us > kPositionStepUs) {
                last_reported_us = position_us;
                if (output_.events.position) {
                    output_.events.position(position_us);
                }
            }
        }
        if (!ended && video_done && !first_pending && sound_done(serial)) {
            ended = true;
            if (output_.events.end) {
                output_.events.end();
            }
        }
        if (!busy) {
            sleep_for(clock_.paused() ? kPausedPoll : kPoll);
        }
    }
}

}  // namespace velmora::media
