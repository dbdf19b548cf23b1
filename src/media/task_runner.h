// Runs one task of the encoder object: in a worker process of its own (the default) or on the
// calling thread. run() blocks the calling (slot) thread until the task ended; pause, resume,
// stop and the preview switch come from the user-interface thread at any time.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "media/encoder_backend.h"
#include "media/options.h"
#include "media/worker_protocol.h"

namespace velmora::media {

// How to start a worker: the executable and its arguments (the worker switch among them).
struct WorkerCommand {
    std::string executable;
    std::vector<std::string> arguments;
};

// This executable in its worker mode.
WorkerCommand default_worker_command();

// When a worker counts as broken.
struct WorkerLimits {
    int hang_timeout_ms = 60000;  // no progress for this long while not paused
    int stop_grace_ms = 5000;     // no end this long after a stop request
};

// What a running task reports, on the slot thread.
struct TaskEvents {
    std::function<void(const TProgressInfo&)> progress;  // returns once handled
    std::function<void(const LogLine&)> log;
    std::function<void(PreviewPicture&&)> preview;
};

class TaskRunner {
  public:
    virtual ~TaskRunner() = default;
    // Converts the task; its end record (TaskIndex set, Finished / Exception as it ended).
    virtual TTerminateInfo run(const WorkerTask& task, const TaskEvents& events) = 0;
    virtual void set_paused(bool paused) = 0;
    virtual void request_stop() = 0;
    virtual void set_preview(bool on) = 0;
};

// A runner with a worker process of its own.
std::unique_ptr<TaskRunner> make_process_runner(WorkerCommand command, WorkerLimits limits);
// A runner converting on the calling thread.
std::unique_ptr<TaskRunner> make_thread_runner(TranscodeFunction transcode);

// TTerminateInfo of a finished transcoding call.
TTerminateInfo terminate_info_of(const TranscodeResult& result, int task_index);

}  // namespace velmora::media
