// The transcoding core: one input file into one output file, as a plain in-process call.
// The encoder object runs it on a worker (thread or process); tests call it directly.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "media/options.h"

namespace velmora::media {

// Where the engine finds its data: the "LibAV" folder holding the video preset files.
struct EngineEnvironment {
    std::string libav_dir;
};

// A converted picture handed to the live preview: packed RGB24, `stride` bytes per line, at
// its display aspect and at most 480 pixels wide. The pixels are valid only during the call.
struct PreviewFrame {
    int width = 0;
    int height = 0;
    int stride = 0;
    const uint8_t* rgb = nullptr;
};

// Pause, resume and stop requests from the controlling thread; the core polls them between
// packets and blocks in wait_while_paused() while paused.
class TranscodeControl {
public:
    void request_stop();
    void set_paused(bool paused);
    bool stop_requested() const { return stop_.load(std::memory_order_relaxed); }
    // Returns at once unless paused; while paused blocks until resumed or stopped.
    void wait_while_paused();

private:
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable resumed_;
    bool paused_ = false;
};

// Callbacks of one transcoding call, all made on the transcoding thread.
struct TranscodeHooks {
    // Called every progress_interval_ms and once at the end; returns when handled. BitRate is
    // in kbit/s, like the ffmpeg command line's status line.
    std::function<void(const TProgressInfo&)> on_progress;
    // Called with converted pictures while preview_wanted() is true, at most five a second.
    std::function<void(const PreviewFrame&)> on_preview_frame;
    std::function<bool()> preview_wanted;
    // Lines for the diagnostic log (substitutions of encoders, warnings): level 0..7, text.
    std::function<void(int level, const std::string& line)> on_log;
    int progress_interval_ms = 500;
};

// How one call ended.
struct TranscodeResult {
    bool finished = false;   // the input was converted to its end
    bool stopped = false;    // a stop request ended it; the output was closed properly
    bool failed = false;     // an error ended it
    std::string error_text;  // what went wrong, when failed
};

// Checks an output before any work: encoders exist (after substitution), the container takes
// them, the named preset file exists. Empty when fine, else the error text.
std::string validate_output(const TOutputOptions& output, const EngineEnvironment& env);

// Converts input into output.FileName. TaskIndex in progress records is task_index.
TranscodeResult transcode(const TInputOptions& input, const TOutputOptions& output,
                          const EngineEnvironment& env, TranscodeControl& control,
                          const TranscodeHooks& hooks, int task_index);

}  // namespace velmora::media
