// Binds the encoder object to the transcoding core; linked only where it is used.
#include "media/encoder_backend.h"

#include "media/library_check.h"
#include "media/probe.h"

namespace velmora::media {

EngineBackend core_engine_backend() {
    EngineBackend backend;
    backend.check_libraries = [](const std::string& libav_dir, std::string& error) {
        return check_libraries(libav_dir, error);
    };
    backend.check_input = [](const TInputOptions& input) {
        const ProbeResult probe = probe_file(input.FileName, input.FileFormat);
        return InputCheck{probe.ok, probe.info_text, probe.error_text};
    };
    backend.validate_output = [](const TOutputOptions& output, const EngineEnvironment& env) {
        return validate_output(output, env);
    };
    backend.transcode = [](const TInputOptions& input, const TOutputOptions& output,
                           const EngineEnvironment& env, TranscodeControl& control,
                           const TranscodeHooks& hooks, int task_index) {
        return transcode(input, output, env, control, hooks, task_index);
    };
    return backend;
}

}  // namespace velmora::media
