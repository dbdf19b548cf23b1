// The in-process runner: the transcoding core on the slot thread itself.
#include <atomic>
#include <exception>

#include "media/task_runner.h"
#include "media/worker_preview.h"
#include "media/worker_priority.h"

namespace velmora::media {
namespace {

class ThreadTaskRunner : public TaskRunner {
  public:
    explicit ThreadTaskRunner(TranscodeFunction transcode) : transcode_(std::move(transcode)) {}

    TTerminateInfo run(const WorkerTask& task, const TaskEvents& events) override {
        std::string priority_error;
        if (!apply_priority_to_this_thread(task.priority, priority_error) && events.log) {
            events.log(LogLine{static_cast<int64_t>(gettid()), 4, priority_error});
        }
        PreviewThrottle throttle;
        TranscodeHooks hooks;
        hooks.progress_interval_ms = task.progress_interval_ms;
        hooks.on_progress = events.progress;
        hooks.preview_wanted = [this] { return preview_.load(); };
        hooks.on_preview_frame = [&](const PreviewFrame& frame) {
            if (!preview_.load() || !events.preview) {
                return;
            }
            if (auto picture = throttle.take(frame, task.task_index)) {
                events.preview(std::move(*picture));
            }
        };
        hooks.on_log = [&events](int level, const std::string& text) {
            if (events.log) {
                events.log(LogLine{static_cast<int64_t>(gettid()), level, text});
            }
        };
        try {
            return terminate_info_of(
                transcode_(task.input, task.output, task.env, control_, hooks, task.task_index),
                task.task_index);
        } catch (const std::exception& e) {
            TTerminateInfo info;
            info.TaskIndex = task.task_index;
            info.Exception = true;
            info.ExceptionMsg = std::string("conversion error: ") + e.what();
            return info;
        }
    }

    void set_paused(bool paused) override { control_.set_paused(paused); }
    void request_stop() override { control_.request_stop(); }
    void set_preview(bool on) override { preview_ = on; }

  private:
    TranscodeFunction transcode_;
    TranscodeControl control_;
    std::atomic<bool> preview_{false};
};

}  // namespace

std::unique_ptr<TaskRunner> make_thread_runner(TranscodeFunction transcode) {
    return std::make_unique<ThreadTaskRunner>(std::move(transcode));
}

}  // namespace velmora::media
