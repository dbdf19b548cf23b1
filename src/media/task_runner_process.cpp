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
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>
#include <thread>

#include "media/output_file.h"
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

// Time that counts against a worker: only while it could run. A worker at idle priority on a
// busy machine may get no processor for minutes; that is not a hang. Runnable without gaining
// processor time, or stopped by a signal, does not count; blocked or computing does.
class WorkerClock {
  public:
    explicit WorkerClock(pid_t pid) : pid_(pid), last_(Clock::now()) { could_run(); }

    // Called often; paused: silent by design; stopping: the stop request is pending.
    void tick(bool paused, bool stopping) {
        const auto now = Clock::now();
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - last_).count();
        if (elapsed < kPollSlice_ms) {
            return;
        }
        last_ = now;
        if (!could_run()) {
            return;
        }
        silent_ms_ = paused ? 0 : silent_ms_ + elapsed;
        if (stopping) {
            stop_wait_ms_ += elapsed;
        }
    }
    void progressed() { silent_ms_ = 0; }
    int64_t silent_ms() const { return silent_ms_; }
    int64_t stop_wait_ms() const { return stop_wait_ms_; }

  private:
    // The state letter and the processor ticks (user + system) of one /proc stat line.
    static bool read_stat(const std::string& path, char& state, long long& cpu) {
        std::ifstream stat(path);
        std::string text;
        std::getline(stat, text);
        const auto close = text.rfind(')');
        if (close == std::string::npos || close + 2 >= text.size()) {
            return false;
        }
        std::istringstream fields(text.substr(close + 2));
        std::string skip;
        fields >> state;
        for (int i = 0; i < 10; ++i) {
            fields >> skip;  // ppid .. cmajflt
        }
        long long user = 0;
        long long system = 0;
        fields >> user >> system;
        cpu = user + system;
        return true;
    }

    // Whether the last slice counts: the worker computed, or every thread of it is blocked
    // (a deadlock counts); a thread waiting for a processor it does not get does not.
    bool could_run() {
        char state = '?';
        long long cpu = 0;
        const std::string proc = "/proc/" + std::to_string(pid_);
        if (!read_stat(proc + "/stat", state, cpu)) {
            return true;
        }
        const bool gained = cpu != cpu_;
        cpu_ = cpu;
        if (state == 'T' || state == 't') {
            return false;
        }
        if (gained) {
            return true;
        }
        std::error_code ec;
        for (std::filesystem::directory_iterator it(proc + "/task", ec), end; !ec && it != end;
             it.increment(ec)) {
            char thread_state = '?';
            long long thread_cpu = 0;
            if (read_stat((it->path() / "stat").string(), thread_state, thread_cpu) &&
                thread_state == 'R') {
                return false;
            }
        }
        return true;
    }

    pid_t pid_;
    Clock::time_point last_;
    long long cpu_ = -1;
    int64_t silent_ms_ = 0;
    int64_t stop_wait_ms_ = 0;
};

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
        if (stop_requested_) {
            return;
        }
        stop_requested_ = true;
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
    bool stop_requested_ = false;
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
        if (stop_requested_) {
            writer_->write(RecordType::stop);
        }
    }

    enum class Broken { no, hang, stop_unanswered, protocol };
    Broken broken = Broken::no;
    std::optional<TranscodeResult> result;
    RecordReader reader(fd);
    Record record;
    WorkerClock clock(pid_);
    while (!result && broken == Broken::no) {
        const ReadStatus status = reader.read(record, kPollSlice_ms);
        if (status == ReadStatus::end || status == ReadStatus::error) {
            break;
        }
        {
            std::lock_guard lock(mutex_);
            clock.tick(paused_ && !stop_requested_, stop_requested_);
            if (clock.stop_wait_ms() > limits_.stop_grace_ms) {
                broken = Broken::stop_unanswered;
            } else if (clock.silent_ms() > limits_.hang_timeout_ms) {
                broken = Broken::hang;
            }
        }
        if (status == ReadStatus::timeout) {
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
                clock.progressed();
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
    if ((broken != Broken::no || !result) && !task.output.FileName.empty()) {
        // A worker that died cannot remove the output it was writing.
        discard_partial_outputs(task.output.FileName, pid_);
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
