// One opened file of the preview player and the threads that play it: a reader that demuxes,
// a decoder per stream, a presenter that shows each picture when the clock reaches its time,
// and SDL's audio thread, whose output drives the clock.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "media/av_holders.h"
#include "media/player_audio.h"
#include "media/player_clock.h"
#include "media/player_holders.h"
#include "media/player_picture.h"
#include "media/player_queue.h"
#include "media/player_types.h"

namespace velmora::media {

// What a session reports from its threads.
struct SessionEvents {
    std::function<void(int64_t position_us)> position;
    std::function<void()> end;
};

// How a session shows and sounds.
struct SessionOutput {
    VideoSink* sink = nullptr;
    int display_width = 0;
    int display_height = 0;
    OpenStart start = OpenStart::paused;
    const std::atomic<bool>* mute = nullptr;  // outlives the session
    SessionEvents events;
};

class PlayerSession {
  public:
    // Opens the file and its decoders; nullptr with error_text when it cannot be played.
    static std::unique_ptr<PlayerSession> open(const std::string& path, std::string& error_text);
    ~PlayerSession();
    PlayerSession(const PlayerSession&) = delete;
    PlayerSession& operator=(const PlayerSession&) = delete;

    int64_t duration_us() const { return duration_us_; }
    bool has_video() const { return video_index_ >= 0; }
    bool has_audio() const { return audio_index_ >= 0; }
    int frame_width() const;
    int frame_height() const;
    const std::string& info_text() const { return info_text_; }
    // Why the sound is off although the file has sound (no output device), else empty.
    const std::string& audio_error() const { return audio_error_; }

    // Starts the threads; pictures go to output.sink at the display size.
    void start(SessionOutput output);
    // Both return whether the state changed.
    bool pause();
    bool resume();
    bool paused() const { return paused_; }
    // Asks for a jump to target_us (clamped to the duration); returns the request number.
    int64_t seek(int64_t target_us, SeekFlags flags);
    // Waits until the request's first picture is shown (or its sound is ready).
    bool wait_seek_end(int64_t request, std::chrono::milliseconds timeout);
    // Waits until the first picture after the open is shown (true at once without video).
    bool wait_first_picture(std::chrono::milliseconds timeout);
    // Ends the threads: request_stop() returns at once, join() when they are finished.
    void request_stop();
    void join();
    // Shows the last picture again.
    void redraw();

    // The picture shown now at the video's own size; 0 x 0 when none.
    RgbPicture current_frame() const;
    PlaybackFigures figures() const;

  private:
    struct PacketItem {
        PacketPtr packet;  // null: the end of the stream, drain the decoder
        int serial = 0;
        size_t weight() const { return packet ? static_cast<size_t>(packet->size) + 64 : 64; }
    };
    struct FrameItem {
        FramePtr frame;  // null: the decoder is drained
        int serial = 0;
        int64_t pts_us = 0;
        size_t weight() const { return 1; }
    };
    struct AudioChunk {
        std::vector<uint8_t> pcm;  // empty: the end of the sound
        int serial = 0;
        int64_t pts_us = 0;
        bool end = false;
        size_t weight() const { return pcm.size() + 1; }
    };

    PlayerSession() = default;
    bool open_decoder(int index, CodecContextPtr& context, std::string& error_text);

    void read_loop();
    bool packet_queues_full() const;
    void perform_seek(int64_t target_us, bool any_frame, int64_t request);
    void decode_loop(bool video);
    void on_video_frame(FramePtr frame, int serial);
    void on_audio_frame(const AVFrame& frame, int serial);
    void fill_audio(uint8_t* stream, int len);
    void present_loop();
    bool sound_done(int serial) const;
    bool step_video(int serial, bool& first_pending, bool& video_done, FramePtr& held_back);
    void show(FramePtr frame);
    void settle(int serial);
    int64_t frame_pts_us(const AVFrame& frame, AVRational time_base) const;

    // The file.
    InputContextPtr format_;
    int video_index_ = -1;
    int audio_index_ = -1;
    CodecContextPtr video_codec_;
    CodecContextPtr audio_codec_;
    int64_t start_us_ = 0;
    int64_t duration_us_ = 0;
    int64_t frame_duration_us_ = 40000;
    std::string info_text_;
    std::string audio_error_;

    // Output settings, fixed by start().
    SessionOutput output_;
    bool audio_active_ = false;
    bool paused_ = true;  // user-interface thread only

    // Hand-over between the threads.
    PlayerQueue<PacketItem> video_packets_;
    PlayerQueue<PacketItem> audio_packets_;
    PlayerQueue<FrameItem> video_frames_{8};
    PlayerQueue<AudioChunk> audio_chunks_{32768};
    PlayerClock clock_;
    AudioOutput audio_;
    std::atomic<bool> abort_{false};
    std::atomic<int> serial_{0};
    std::atomic<int64_t> seek_target_us_{0};
    std::atomic<int> audio_end_serial_{-1};
    std::atomic<bool> redraw_requested_{false};

    // Seek requests from the user-interface thread to the reader.
    std::mutex control_mutex_;
    std::condition_variable control_changed_;
    bool seek_pending_ = false;
    int64_t seek_request_us_ = 0;
    bool seek_any_ = false;
    int64_t seek_requests_ = 0;

    // Which serial has its first picture shown, and which request made which serial.
    std::mutex settle_mutex_;
    std::condition_variable settled_changed_;
    int settled_serial_ = -1;
    int64_t handled_request_ = 0;
    int handled_serial_ = 0;

    // The picture shown now, at full size, and the presenter's scaler.
    mutable std::mutex shown_mutex_;
    FramePtr shown_frame_;
    DisplayScaler scaler_;

    // Decoder-thread and audio-thread state.
    SwrContextPtr resampler_;
    int resampler_rate_ = 0;
    int resampler_format_ = -1;
    int resampler_channels_ = 0;
    int64_t next_audio_pts_us_ = 0;
    int64_t next_video_pts_us_ = 0;
    std::optional<AudioChunk> playing_chunk_;
    size_t chunk_offset_ = 0;

    std::atomic<int64_t> shown_frames_{0};
    std::atomic<int64_t> late_frames_{0};
    std::atomic<int64_t> dropped_frames_{0};
    std::atomic<int64_t> audio_underruns_{0};

    std::thread reader_;
    std::thread video_decoder_;
    std::thread audio_decoder_;
    std::thread presenter_;
};

}  // namespace velmora::media
