#include "media/transcode.h"

#include "media/output_plan.h"
#include "media/transcode_session.h"

namespace velmora::media {

void TranscodeControl::request_stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_.store(true, std::memory_order_relaxed);
    }
    resumed_.notify_all();
}

void TranscodeControl::set_paused(bool paused) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        paused_ = paused;
    }
    resumed_.notify_all();
}

void TranscodeControl::wait_while_paused() {
    std::unique_lock<std::mutex> lock(mutex_);
    resumed_.wait(lock, [this] { return !paused_ || stop_.load(std::memory_order_relaxed); });
}

std::string validate_output(const TOutputOptions& output, const EngineEnvironment& env) {
    OutputPlan plan;
    std::string error_text;
    if (!plan_output(output, env, nullptr, plan, error_text)) {
        return error_text;
    }
    return {};
}

TranscodeResult transcode(const TInputOptions& input, const TOutputOptions& output,
                          const EngineEnvironment& env, TranscodeControl& control,
                          const TranscodeHooks& hooks, int task_index) {
    try {
        TranscodeSession session(input, output, env, control, hooks, task_index);
        return session.run();
    } catch (const std::exception& e) {
        TranscodeResult result;
        result.failed = true;
        result.error_text = std::string("The conversion failed: ") + e.what();
        return result;
    }
}

}  // namespace velmora::media
