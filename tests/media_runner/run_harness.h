// An encoder object on the fake core with a record of every notification it delivered.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "fake_transcode.h"
#include "media/encoder.h"
#include "media/worker.h"
#include "support/temp_dir.h"

namespace velmora::testing {

struct RunEvent {
    enum class Type { progress, task_end, run_end } type;
    media::TProgressInfo progress;
    media::TTerminateInfo end;
};

inline media::WorkerCommand fake_worker_command() {
    return media::WorkerCommand{VELMORA_FAKE_WORKER, {media::kWorkerSwitch}};
}

class RunHarness {
  public:
    explicit RunHarness(media::WorkerMode mode = media::WorkerMode::process)
        : encoder(queue, fake_backend(), fake_worker_command()) {
        encoder.set_worker_mode(mode);
        std::string error;
        encoder.load_libraries(dir.file("LibAV"), error);
        encoder.on_progress([this](const media::TProgressInfo& info) {
            events.push_back(RunEvent{RunEvent::Type::progress, info, {}});
            if (progress_hook) {
                progress_hook(info);
            }
        });
        encoder.on_terminate([this](const media::TTerminateInfo& info) {
            events.push_back(RunEvent{
                info.TaskIndex < 0 ? RunEvent::Type::run_end : RunEvent::Type::task_end, {}, info});
        });
    }

    // Adds a fake task writing out<n>.avi; its index.
    int add(const std::string& input) {
        media::TInputOptions in;
        media::TOutputOptions out;
        std::string error;
        const int task = encoder.add_task(input, in, error);
        encoder.set_output_file(task, dir.file("out" + std::to_string(task) + ".avi"), out, error);
        return task;
    }

    // Pumps the queue as the window does until done() or the time is up.
    bool pump_until(const std::function<bool()>& done, int timeout_ms = 20000) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            queue.wait_for_notifications(20);
            queue.pump();
        }
        return true;
    }
    // Pumps for a while, whatever arrives.
    void pump_for(int ms) {
        pump_until([] { return false; }, ms);
    }

    int count(RunEvent::Type type, int task = -2) const {
        int n = 0;
        for (const RunEvent& e : events) {
            const int index =
                type == RunEvent::Type::progress ? e.progress.TaskIndex : e.end.TaskIndex;
            n += e.type == type && (task == -2 || index == task) ? 1 : 0;
        }
        return n;
    }
    bool run_ended() const { return count(RunEvent::Type::run_end) > 0; }
    // Position of the first event matching, or -1.
    int first(RunEvent::Type type, int task) const {
        for (size_t i = 0; i < events.size(); ++i) {
            const RunEvent& e = events[i];
            const int index =
                type == RunEvent::Type::progress ? e.progress.TaskIndex : e.end.TaskIndex;
            if (e.type == type && index == task) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }
    const media::TTerminateInfo* end_of(int task) const {
        for (const RunEvent& e : events) {
            if (e.type == RunEvent::Type::task_end && e.end.TaskIndex == task) {
                return &e.end;
            }
        }
        return nullptr;
    }

    TempDir dir;
    media::NotificationQueue queue;
    media::Encoder encoder;
    std::vector<RunEvent> events;
    std::function<void(const media::TProgressInfo&)> progress_hook;
};

}  // namespace velmora::testing
