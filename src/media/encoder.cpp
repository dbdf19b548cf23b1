#include "media/encoder.h"

#include <algorithm>
#include <chrono>

#include "media/logger.h"
#include "media/preview_window.h"

namespace velmora::media {

Encoder::Encoder(NotificationQueue& queue, EngineBackend backend, WorkerCommand worker)
    : queue_(queue),
      source_(queue.open_source()),
      backend_(std::move(backend)),
      worker_(std::move(worker)) {}

Encoder::~Encoder() {
    detach_notifications();
    stop_and_wait();
    join_slots();
}

bool Encoder::load_libraries(const std::string& libav_dir, std::string& error) {
    env_.libav_dir = libav_dir;
    if (!backend_.check_libraries) {
        libraries_loaded_ = true;
        return true;
    }
    libraries_loaded_ = backend_.check_libraries(libav_dir, error);
    return libraries_loaded_;
}

int Encoder::add_task(const std::string& input_path, TInputOptions& options, std::string& error) {
    TInputOptions input = options;
    input.FileName = input_path;
    Task task;
    if (backend_.check_input) {
        InputCheck check = backend_.check_input(input);
        if (!check.ok) {
            error = check.error_text.empty() ? "Cannot open " + input_path : check.error_text;
            return -1;
        }
        task.info_text = std::move(check.info_text);
    }
    options.FileName = input_path;
    task.input = input;
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
    return static_cast<int>(tasks_.size()) - 1;
}

bool Encoder::set_output_file(int task, const std::string& path, TOutputOptions& options,
                              std::string& error) {
    TOutputOptions output = options;
    output.FileName = path;
    std::string problem;
    {
        std::lock_guard lock(mutex_);
        if (task < 0 || task >= static_cast<int>(tasks_.size())) {
            error = "There is no task " + std::to_string(task) + ".";
            return false;
        }
    }
    if (backend_.validate_output) {
        problem = backend_.validate_output(output, env_);
    }
    {
        std::lock_guard lock(mutex_);
        if (task >= static_cast<int>(tasks_.size())) {
            error = "There is no task " + std::to_string(task) + ".";
            return false;
        }
        Task& entry = tasks_[static_cast<size_t>(task)];
        entry.output_attached = true;
        entry.output = output;
        entry.output_error = problem;
    }
    if (!problem.empty()) {
        error = problem;
        return false;
    }
    if (options.FileName.empty()) {
        options.FileName = path;
    }
    return true;
}

void Encoder::remove_task(int task) {
    std::lock_guard lock(mutex_);
    if (run_running_ > 0 || !waiting_.empty() || task < 0 ||
        task >= static_cast<int>(tasks_.size())) {
        return;
    }
    tasks_.erase(tasks_.begin() + task);
}

void Encoder::clear_tasks() {
    std::lock_guard lock(mutex_);
    if (run_running_ > 0 || !waiting_.empty()) {
        return;
    }
    tasks_.clear();
}

int Encoder::task_count() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(tasks_.size());
}

std::string Encoder::task_info_text(int task) const {
    std::lock_guard lock(mutex_);
    if (task < 0 || task >= static_cast<int>(tasks_.size())) {
        return {};
    }
    return tasks_[static_cast<size_t>(task)].info_text;
}

void Encoder::set_thread_priority(TThreadPriority priority) {
    priority_ = priority;
}

bool Encoder::running() const {
    std::lock_guard lock(mutex_);
    return run_running_ > 0 || !waiting_.empty();
}

bool Encoder::paused() const {
    std::lock_guard lock(mutex_);
    return paused_;
}

void Encoder::join_slots() {
    std::vector<std::thread> slots;
    {
        std::lock_guard lock(mutex_);
        slots.swap(slots_);
    }
    for (std::thread& slot : slots) {
        slot.join();
    }
}

void Encoder::start(int simultaneous) {
    if (running()) {
        return;
    }
    join_slots();
    const int slots = std::clamp(simultaneous, 1, 19);
    std::lock_guard lock(mutex_);
    run_tasks_ = tasks_;
    run_settings_ = RunSettings{env_, priority_, mode_, limits_};
    waiting_.clear();
    for (int i = 0; i < static_cast<int>(run_tasks_.size()); ++i) {
        waiting_.push_back(i);
    }
    run_total_ = static_cast<int>(run_tasks_.size());
    run_ended_ = 0;
    run_running_ = 0;
    stopping_ = false;
    paused_ = false;
    run_end_sent_ = false;
    if (run_total_ == 0) {
        // Nothing to convert: the run has ended as soon as it started.
        run_end_sent_ = true;
        queue_.post(source_, NotificationKind::run_end, [this] {
            if (terminate_handler_) {
                terminate_handler_(TTerminateInfo{-1, true, false, {}});
            }
        });
        return;
    }
    for (int i = 0; i < std::min(slots, run_total_); ++i) {
        slots_.emplace_back([this] { slot_loop(); });
    }
}

void Encoder::slot_loop() {
    for (;;) {
        std::unique_lock lock(mutex_);
        if (stopping_ || waiting_.empty()) {
            return;
        }
        const int index = waiting_.front();
        waiting_.pop_front();
        ++run_running_;
        std::unique_ptr<TaskRunner> runner =
            run_settings_.mode == WorkerMode::thread
                ? make_thread_runner(backend_.transcode)
                : make_process_runner(worker_, run_settings_.limits);
        runner->set_paused(paused_);
        runner->set_preview(preview_.load());
        runners_.insert(runner.get());
        const Task task = run_tasks_[static_cast<size_t>(index)];
        const RunSettings settings = run_settings_;
        lock.unlock();

        const TTerminateInfo end = run_task(index, task, settings, *runner);

        lock.lock();
        runners_.erase(runner.get());
        // Posted under the lock, so the run end always follows the last task end.
        queue_.post(source_, NotificationKind::task_end, [this, end] {
            if (terminate_handler_) {
                terminate_handler_(end);
            }
        });
        ++run_ended_;
        --run_running_;
        if (waiting_.empty() && run_ended_ == run_total_ && !run_end_sent_) {
            run_end_sent_ = true;
            queue_.post(source_, NotificationKind::run_end, [this] {
                if (terminate_handler_) {
                    terminate_handler_(TTerminateInfo{-1, true, false, {}});
                }
            });
        }
        slot_ended_.notify_all();
    }
}

TTerminateInfo Encoder::run_task(int index, const Task& task, const RunSettings& settings,
                                 TaskRunner& runner) {
    if (!task.output_attached || !task.output_error.empty()) {
        TTerminateInfo end;
        end.TaskIndex = index;
        end.Exception = true;
        end.ExceptionMsg = task.output_attached
                               ? task.output_error
                               : "No output file was set for \"" + task.input.FileName + "\".";
        return end;
    }
    WorkerTask work;
    work.input = task.input;
    work.output = task.output;
    work.env = settings.env;
    work.task_index = index;
    work.priority = settings.priority;
    TaskEvents events;
    events.progress = [this](const TProgressInfo& info) { post_progress(info); };
    events.log = [this](const LogLine& line) {
        if (Logger* logger = logger_.load()) {
            logger->deliver(line);
        }
    };
    events.preview = [this](PreviewPicture&& picture) { post_preview(std::move(picture)); };
    return runner.run(work, events);
}

void Encoder::post_progress(const TProgressInfo& info) {
    queue_.post(
        source_, NotificationKind::progress,
        [this, info] {
            if (progress_handler_) {
                progress_handler_(info);
            }
        },
        PostMode::wait_for_handler);
}

void Encoder::post_preview(PreviewPicture&& picture) {
    if (!preview_.load()) {
        return;
    }
    const int task = picture.task_index;
    {
        std::lock_guard lock(preview_mutex_);
        std::unique_ptr<PreviewPicture>& slot = latest_preview_[task];
        const bool queued = slot != nullptr;
        slot = std::make_unique<PreviewPicture>(std::move(picture));
        if (queued) {
            return;
        }
    }
    queue_.post(source_, NotificationKind::preview_frame,
                [this, task] { show_latest_preview(task); });
}

void Encoder::show_latest_preview(int task) {
    std::unique_ptr<PreviewPicture> picture;
    {
        std::lock_guard lock(preview_mutex_);
        auto it = latest_preview_.find(task);
        if (it != latest_preview_.end()) {
            picture = std::move(it->second);
            latest_preview_.erase(it);
        }
    }
    if (!picture || !preview_.load()) {
        return;
    }
    // One task at a time: the window follows a task until it has shown nothing for a second.
    const auto now = std::chrono::steady_clock::now();
    if (picture->task_index != preview_task_ && preview_task_ >= 0 &&
        now - preview_shown_at_ < std::chrono::seconds(1)) {
        return;
    }
    preview_task_ = picture->task_index;
    preview_shown_at_ = now;
    preview_sink().show(*picture);
}

PreviewSink& Encoder::preview_sink() {
    if (preview_sink_) {
        return *preview_sink_;
    }
    if (!preview_window_) {
        preview_window_ = std::make_unique<PreviewWindow>();
    }
    return *preview_window_;
}

void Encoder::set_preview_sink(PreviewSink* sink) {
    preview_sink_ = sink;
}

void Encoder::set_preview(bool on) {
    preview_ = on;
    {
        std::lock_guard lock(mutex_);
        for (TaskRunner* runner : runners_) {
            runner->set_preview(on);
        }
    }
    if (!on && (preview_sink_ || preview_window_)) {
        preview_sink().hide();
    }
}

void Encoder::pause() {
    std::lock_guard lock(mutex_);
    if (run_running_ == 0 && waiting_.empty()) {
        return;
    }
    paused_ = true;
    for (TaskRunner* runner : runners_) {
        runner->set_paused(true);
    }
}

void Encoder::resume() {
    std::lock_guard lock(mutex_);
    if (!paused_) {
        return;
    }
    paused_ = false;
    for (TaskRunner* runner : runners_) {
        runner->set_paused(false);
    }
}

void Encoder::stop_and_wait() {
    {
        std::lock_guard lock(mutex_);
        if (slots_.empty()) {
            return;
        }
        stopping_ = true;
        waiting_.clear();
        for (TaskRunner* runner : runners_) {
            runner->request_stop();
        }
    }
    // Workers waiting for their progress handler go on at once; the handlers still run here.
    queue_.set_released(source_, true);
    for (;;) {
        queue_.pump_only(source_, NotificationKind::progress);
        std::unique_lock lock(mutex_);
        if (run_running_ == 0) {
            break;
        }
        slot_ended_.wait_for(lock, std::chrono::milliseconds(10));
    }
    join_slots();
    queue_.pump_only(source_, NotificationKind::progress);
    queue_.set_released(source_, false);
    std::lock_guard lock(mutex_);
    paused_ = false;
}

void Encoder::detach_notifications() {
    queue_.detach(source_);
    progress_handler_ = nullptr;
    terminate_handler_ = nullptr;
}

}  // namespace velmora::media
