#include "media/task_runner.h"

#include <unistd.h>

#include <climits>

#include "media/worker.h"

namespace velmora::media {

WorkerCommand default_worker_command() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    WorkerCommand command;
    command.executable =
        length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string("/proc/self/exe");
    command.arguments = {kWorkerSwitch};
    return command;
}

TTerminateInfo terminate_info_of(const TranscodeResult& result, int task_index) {
    TTerminateInfo info;
    info.TaskIndex = task_index;
    info.Finished = result.finished && !result.failed;
    info.Exception = result.failed;
    if (result.failed) {
        info.ExceptionMsg =
            result.error_text.empty() ? "The conversion failed." : result.error_text;
    }
    return info;
}

}  // namespace velmora::media
