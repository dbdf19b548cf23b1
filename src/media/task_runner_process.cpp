// The process runner: each task converts in a worker process of its own, so a crash or a hang
// of the decoders on a hostile file ends that task only.
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "media/task_runner.h"

extern char** environ;

namespace velmora::media {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPollSlice_ms = 100;
constexpr int kExitWait_ms = 3000;

// Waits up to timeout_ms for the child to end; true and its status when it did.
bool wait_for_exit(pid_t pid, int timeout_ms, int& status) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid || (done < 0 && errno != EINTR)) {
            return done == pid;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int kill_and_reap(pid_t pid) {
    kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A worker that died cannot remove the output it was writing: the core writes under
// "." + stem + ".part-" + its process id + "-..." + extension beside the final name.
void remove_worker_leftovers(const std::string& final_path, pid_t worker) {
    namespace fs = std::filesystem;
    const fs::path final_file(final_path);
    if (final_path.empty() || final_file.filename().empty()) {
        return;
    }
    const std::string prefix =
        "." + final_file.stem().string() + ".part-" + std::to_string(worker) + "-";
    const std::string extension = final_file.extension().string();
    const fs::path folder =
        final_file.parent_path().empty() ? fs::path(".") : final_file.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= prefix.size() + extension.size() && name.starts_with(prefix) &&
            name.ends_with(extension) && it->is_regular_file(ec)) {
            fs::remove(it->path(), ec);
        }
    }
}

class ProcessTaskRunner : public TaskRunner {
  public:
    ProcessTaskRunner(WorkerCommand command, WorkerLimits limits)
        : command_(std::move(command)), limits_(limits) {}

    TTerminateInfo run(const WorkerTask& task, const TaskEvents& events) override;

    void set_paused(bool paused) override {
        std::lock_guard lock(mutex_);
        paused_ = paused;
        if (writer_) {
            writer_->write(paused ? RecordType::pause : RecordType::resume);
        }
    }

    void request_stop() override {
        std::lock_guard lock(mutex_);
        if (stop_at_) {
            return;
        }
        stop_at_ = Clock::now();
        if (writer_) {
            writer_->write(RecordType::stop);
        }
    }

    void set_preview(bool on) override {
        std::lock_guard lock(mutex_);
        preview_ = on;
        if (writer_) {
            writer_->write(on ? RecordType::preview_on : RecordType::preview_off);
        }
    }

  private:
    bool spawn(int& socket_fd, std::string& error);
    TTerminateInfo failure(const WorkerTask& task, std::string text) const {
        TTerminateInfo info;
        info.TaskIndex = task.task_index;
        info.Exception = true;
        info.ExceptionMsg = std::move(text);
        return info;
    }

    WorkerCommand command_;
    WorkerLimits limits_;
    pid_t pid_ = -1;
    std::mutex mutex_;
    std::unique_ptr<RecordWriter> writer_;
    bool paused_ = false;
    bool preview_ = false;
    std::optional<Clock::time_point> stop_at_;
};

bool ProcessTaskRunner::spawn(int& socket_fd, std::string& error) {
    int sockets[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], 0);
    posix_spawn_file_actions_adddup2(&actions, sockets[1], 1);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    sigaddset(&signals, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(command_.executable.data());
    for (std::string& argument : command_.arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    const int spawned = posix_spawn(&pid_, command_.executable.c_str(), &actions, &attributes,
                                    argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(sockets[1]);
    if (spawned != 0) {
        close(sockets[0]);
        pid_ = -1;
        error = command_.executable + ": " + std::strerror(spawned);
        return false;
    }
    socket_fd = sockets[0];
    return true;
}

TTerminateInfo ProcessTaskRunner::run(const WorkerTask& task, const TaskEvents& events) {
    const std::string& input = task.input.FileName;
    int fd = -1;
    std::string error;
    {
        std::lock_guard lock(mutex_);
        if (!spawn(fd, error)) {
            return failure(
                task, "Cannot start the conversion worker for " + quoted(input) + ": " + error);
        }
        WorkerTask sent = task;
        sent.start_paused = paused_;
        sent.preview = preview_;
        writer_ = std::make_unique<RecordWriter>(fd);
        writer_->write(RecordType::task, encode_task(sent));
        if (stop_at_) {
            writer_->write(RecordType::stop);
        }
    }

    enum class Broken { no, hang, stop_unanswered, protocol };
    Broken broken = Broken::no;
    std::optional<TranscodeResult> result;
    RecordReader reader(fd);
    Record record;
    auto last_progress = Clock::now();
    while (!result && broken == Broken::no) {
        const ReadStatus status = reader.read(record, kPollSlice_ms);
        if (status == ReadStatus::end || status == ReadStatus::error) {
            break;
        }
        if (status == ReadStatus::timeout) {
            std::lock_guard lock(mutex_);
            const auto now = Clock::now();
            if (paused_ && !stop_at_) {
                last_progress = now;  // a paused worker is silent by design
            }
            if (stop_at_ && now - *stop_at_ > std::chrono::milliseconds(limits_.stop_grace_ms)) {
                broken = Broken::stop_unanswered;
            } else if (now - last_progress > std::chrono::milliseconds(limits_.hang_timeout_ms)) {
                broken = Broken::hang;
            }
            continue;
        }
        switch (record.type) {
            case RecordType::progress: {
                TProgressInfo info;
                if (!decode_progress(record.payload, info)) {
                    broken = Broken::protocol;
                    break;
                }
                info.TaskIndex = task.task_index;
                if (events.progress) {
                    events.progress(info);
                }
                std::lock_guard lock(mutex_);
                writer_->write(RecordType::progress_ack);
                last_progress = Clock::now();
                break;
            }
            case RecordType::log_line: {
                LogLine line;
                if (decode_log_line(record.payload, line) && events.log) {
                    events.log(line);
                }
                break;
            }
            case RecordType::preview_frame: {
                PreviewPicture picture;
                if (decode_preview(record.payload, picture) && events.preview) {
                    picture.task_index = task.task_index;
                    events.preview(std::move(picture));
                }
                break;
            }
            case RecordType::result: {
                TranscodeResult decoded;
                if (decode_result(record.payload, decoded)) {
                    result = decoded;
                } else {
                    broken = Broken::protocol;
                }
                break;
            }
            default:
                broken = Broken::protocol;
                break;
        }
    }

    {
        std::lock_guard lock(mutex_);
        writer_.reset();
    }
    shutdown(fd, SHUT_RDWR);
    close(fd);
    int status = 0;
    if (broken != Broken::no || !wait_for_exit(pid_, kExitWait_ms, status)) {
        status = kill_and_reap(pid_);
    }
    if (broken != Broken::no || !result) {
        remove_worker_leftovers(task.output.FileName, pid_);
    }
    pid_ = -1;

    switch (broken) {
        case Broken::hang:
            return failure(task, "The conversion of " + quoted(input) + " stopped responding for " +
                                     std::to_string(limits_.hang_timeout_ms / 1000) +
                                     " s; its worker process was ended.");
        case Broken::stop_unanswered:
            return failure(task, "The conversion of " + quoted(input) +
                                     " did not answer the stop request; its worker process was "
                                     "ended and the output may be incomplete.");
        case Broken::protocol:
            return failure(task, "The conversion worker of " + quoted(input) +
                                     " sent damaged reports; it was ended.");
        case Broken::no:
            break;
    }
    if (result) {
        return terminate_info_of(*result, task.task_index);
    }
    if (WIFSIGNALED(status)) {
        const int signal_number = WTERMSIG(status);
        const char* name = sigdescr_np(signal_number);
        return failure(task, "The conversion of " + quoted(input) +
                                 " crashed its worker process (signal " +
                                 std::to_string(signal_number) + ", " + (name ? name : "unknown") +
                                 "); the other tasks go on.");
    }
    return failure(task, "The conversion worker of " + quoted(input) +
                             " ended without a result (exit status " +
                             std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ").");
}

}  // namespace

std::unique_ptr<TaskRunner> make_process_runner(WorkerCommand command, WorkerLimits limits) {
    return std::make_unique<ProcessTaskRunner>(std::move(command), limits);
}

}  // namespace velmora::media
