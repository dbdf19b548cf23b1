#include "media/worker.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "media/logger.h"
#include "media/worker_preview.h"
#include "media/worker_priority.h"
#include "media/worker_protocol.h"

namespace velmora::media {

int worker_main_with(const TranscodeFunction& transcode) {
    const int in_fd = fcntl(0, F_DUPFD_CLOEXEC, 3);
    const int out_fd = fcntl(1, F_DUPFD_CLOEXEC, 3);
    if (in_fd < 0 || out_fd < 0) {
        return 2;
    }
    // Nothing a library prints may land in the record stream.
    const int null_fd = open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null_fd >= 0) {
        dup2(null_fd, 0);
        close(null_fd);
    }
    dup2(2, 1);
    signal(SIGPIPE, SIG_IGN);
    const int status = run_worker(in_fd, out_fd, transcode);
    close(in_fd);
    close(out_fd);
    return status;
}

int run_worker(int in_fd, int out_fd, const TranscodeFunction& transcode) {
    RecordReader reader(in_fd);
    RecordWriter writer(out_fd);
    Record record;
    WorkerTask task;
    if (reader.read(record) != ReadStatus::record || record.type != RecordType::task ||
        !decode_task(record.payload, task)) {
        return 2;
    }

    // Before any other thread exists, so every thread of the conversion inherits it.
    std::string priority_error;
    const bool priority_applied = apply_priority_to_this_thread(task.priority, priority_error);

    auto send_line = [&writer](int level, const std::string& text) {
        writer.write(RecordType::log_line,
                     encode_log_line(LogLine{static_cast<int64_t>(gettid()), level, text}));
    };
    LogCapture capture([&writer](const LogLine& line) {
        writer.write(RecordType::log_line, encode_log_line(line));
    });
    if (!priority_applied) {
        send_line(4, priority_error);
    }

    TranscodeControl control;
    if (task.start_paused) {
        control.set_paused(true);
    }
    std::atomic<bool> preview{task.preview};
    std::mutex ack_mutex;
    std::condition_variable ack_arrived;
    int64_t acks = 0;
    bool peer_gone = false;

    std::thread listener([&] {
        Record request;
        for (;;) {
            if (reader.read(request) != ReadStatus::record) {
                // The encoder object is gone: finish the output properly and end.
                control.request_stop();
                std::lock_guard lock(ack_mutex);
                peer_gone = true;
                ack_arrived.notify_all();
                return;
            }
            switch (request.type) {
                case RecordType::progress_ack: {
                    std::lock_guard lock(ack_mutex);
                    ++acks;
                    ack_arrived.notify_all();
                    break;
                }
                case RecordType::pause:
                    control.set_paused(true);
                    break;
                case RecordType::resume:
                    control.set_paused(false);
                    break;
                case RecordType::stop:
                    control.request_stop();
                    break;
                case RecordType::preview_on:
                    preview = true;
                    break;
                case RecordType::preview_off:
                    preview = false;
                    break;
                default:
                    break;
            }
        }
    });

    PreviewThrottle throttle;
    int64_t progress_sent = 0;
    TranscodeHooks hooks;
    hooks.progress_interval_ms = task.progress_interval_ms > 0 ? task.progress_interval_ms : 500;
    hooks.on_progress = [&](const TProgressInfo& info) {
        if (!writer.write(RecordType::progress, encode_progress(info))) {
            control.request_stop();
            return;
        }
        ++progress_sent;
        std::unique_lock lock(ack_mutex);
        ack_arrived.wait(lock, [&] { return acks >= progress_sent || peer_gone; });
    };
    hooks.preview_wanted = [&] { return preview.load(); };
    hooks.on_preview_frame = [&](const PreviewFrame& frame) {
        if (!preview.load()) {
            return;
        }
        if (auto picture = throttle.take(frame, task.task_index)) {
            writer.write(RecordType::preview_frame, encode_preview(*picture));
        }
    };
    hooks.on_log = send_line;

    TranscodeResult result;
    try {
        result = transcode(task.input, task.output, task.env, control, hooks, task.task_index);
    } catch (const std::exception& e) {
        result = TranscodeResult{false, false, true, std::string("conversion error: ") + e.what()};
    }
    writer.write(RecordType::result, encode_result(result));

    shutdown(in_fd, SHUT_RD);  // wakes the listener on a socket; a pipe ends when the peer closes
    listener.join();
    return result.failed ? 1 : 0;
}

}  // namespace velmora::media
