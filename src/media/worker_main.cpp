// The worker mode on the transcoding core; kept apart so that programs running the encoder on
// stand-ins do not pull the core in.
#include "media/worker.h"

namespace velmora::media {

int worker_main(int /*argc*/, char** /*argv*/) {
    return worker_main_with(
        [](const TInputOptions& input, const TOutputOptions& output, const EngineEnvironment& env,
           TranscodeControl& control, const TranscodeHooks& hooks,
           int task_index) { return transcode(input, output, env, control, hooks, task_index); });
}

}  // namespace velmora::media
