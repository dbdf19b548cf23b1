// The encoder object the windows and the command line drive: a list of tasks run on workers.
// Every call is made on the user-interface thread; notifications come back through the
// notification queue and run there too.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "media/encoder_backend.h"
#include "media/notification_queue.h"
#include "media/options.h"
#include "media/task_runner.h"

namespace velmora::media {

class Logger;
class PreviewSink;
class PreviewWindow;

// Where the tasks of a run convert.
enum class WorkerMode { process, thread };

class Encoder {
  public:
    Encoder(NotificationQueue& queue, EngineBackend backend,
            WorkerCommand worker = default_worker_command());
    // Detaches the notifications, stops and waits for the running tasks.
    ~Encoder();
    Encoder(const Encoder&) = delete;
    Encoder& operator=(const Encoder&) = delete;

    // Checks that the FFmpeg libraries are usable; libav_dir holds the video preset files.
    bool load_libraries(const std::string& libav_dir, std::string& error);
    bool libraries_loaded() const { return libraries_loaded_; }

    // Adds a task reading input_path; fills options.FileName. -1 and an error text when the
    // input cannot be opened.
    int add_task(const std::string& input_path, TInputOptions& options, std::string& error);
    // Attaches the output path and a copy of options to a task and validates it at once; fills
    // options.FileName when it was empty. False and an error text when it cannot be written.
    bool set_output_file(int task, const std::string& path, TOutputOptions& options,
                         std::string& error);
    // Removes a task; later tasks move down one index. Ignored during a run.
    void remove_task(int task);
    // Removes every task. Ignored during a run.
    void clear_tasks();
    int task_count() const;
    // The description of a task's input found when it was added.
    std::string task_info_text(int task) const;

    // Priority of the workers of the tasks started afterwards.
    void set_thread_priority(TThreadPriority priority);
    TThreadPriority thread_priority() const { return priority_; }

    // Starts the run: tasks in task order, `simultaneous` (1..19) at once.
    void start(int simultaneous);
    // Halts / continues every running task.
    void pause();
    void resume();
    // No waiting task starts any more; running tasks are told to stop; returns once they
    // ended, running progress handlers meanwhile. Task ends are handled after it returns.
    void stop_and_wait();
    // A task runs or waits to start.
    bool running() const;
    bool paused() const;

    // Live preview of the frames being converted; takes effect at once, also during a run.
    void set_preview(bool on);
    bool preview() const { return preview_.load(); }

    // Handlers run on the user-interface thread.
    void on_progress(std::function<void(const TProgressInfo&)> handler) {
        progress_handler_ = std::move(handler);
    }
    void on_terminate(std::function<void(const TTerminateInfo&)> handler) {
        terminate_handler_ = std::move(handler);
    }
    // From now on no handler runs and no worker waits for one (the window is closing).
    void detach_notifications();

    // Receives the log lines of the workers.
    void set_logger(Logger* logger) { logger_ = logger; }
    // Preview pictures go here instead of the engine's own window (nullptr: the window).
    void set_preview_sink(PreviewSink* sink);
    void set_worker_mode(WorkerMode mode) { mode_ = mode; }
    void set_worker_limits(WorkerLimits limits) { limits_ = limits; }
    const EngineEnvironment& environment() const { return env_; }
    // The queue the notifications travel through (shared with the logger and the player).
    NotificationQueue& notification_queue() { return queue_; }

  private:
    struct Task {
        TInputOptions input;
        std::string info_text;
        bool output_attached = false;
        TOutputOptions output;
        std::string output_error;  // why the output was refused
    };

    void join_slots();
    void slot_loop();
    void post_progress(const TProgressInfo& info);
    void post_preview(PreviewPicture&& picture);
    void show_latest_preview(int task);
    PreviewSink& preview_sink();

    NotificationQueue& queue_;
    NotificationQueue::SourceId source_;
    EngineBackend backend_;
    WorkerCommand worker_;
    EngineEnvironment env_;
    bool libraries_loaded_ = false;
    TThreadPriority priority_ = TThreadPriority::tpNormal;
    WorkerMode mode_ = WorkerMode::process;
    WorkerLimits limits_;
    std::atomic<bool> preview_{false};
    std::atomic<Logger*> logger_{nullptr};

    std::function<void(const TProgressInfo&)> progress_handler_;
    std::function<void(const TTerminateInfo&)> terminate_handler_;
    PreviewSink* preview_sink_ = nullptr;
    std::unique_ptr<PreviewWindow> preview_window_;
    // The task whose pictures the window follows, and when it last showed one of them.
    int preview_task_ = -1;
    std::chrono::steady_clock::time_point preview_shown_at_;
    // The newest picture not yet shown; a slow window skips pictures instead of queueing them.
    std::mutex preview_mutex_;
    std::map<int, std::unique_ptr<PreviewPicture>> latest_preview_;  // by task

    // What a run uses, fixed when it starts.
    struct RunSettings {
        EngineEnvironment env;
        TThreadPriority priority = TThreadPriority::tpNormal;
        WorkerMode mode = WorkerMode::process;
        WorkerLimits limits;
    };

    TTerminateInfo run_task(int index, const Task& task, const RunSettings& settings,
                            TaskRunner& runner);

    // Shared with the slot threads.
    mutable std::mutex mutex_;
    RunSettings run_settings_;
    std::condition_variable slot_ended_;
    std::vector<Task> tasks_;
    std::vector<Task> run_tasks_;  // the tasks as they were when the run started
    std::deque<int> waiting_;
    std::set<TaskRunner*> runners_;
    std::vector<std::thread> slots_;
    int run_total_ = 0;
    int run_ended_ = 0;
    int run_running_ = 0;
    bool stopping_ = false;
    bool paused_ = false;
    bool run_end_sent_ = false;
};

}  // namespace velmora::media
