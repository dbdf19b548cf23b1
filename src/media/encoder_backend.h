// What the encoder object needs from the transcoding core, as replaceable functions: tests
// run the encoder on fakes, the program on core_engine_backend().
#pragma once

#include <functional>
#include <string>

#include "media/options.h"
#include "media/transcode.h"

namespace velmora::media {

// transcode() of the core, or a stand-in.
using TranscodeFunction = std::function<TranscodeResult(const TInputOptions&, const TOutputOptions&,
                                                        const EngineEnvironment&, TranscodeControl&,
                                                        const TranscodeHooks&, int task_index)>;

// What opening an input found.
struct InputCheck {
    bool ok = false;
    std::string info_text;   // description of the file for the log
    std::string error_text;  // why it cannot be opened, when !ok
};

struct EngineBackend {
    // True when the FFmpeg libraries are usable, else false and an error text.
    std::function<bool(const std::string& libav_dir, std::string& error)> check_libraries;
    // Opens an input to see that it is readable media.
    std::function<InputCheck(const TInputOptions& input)> check_input;
    // Empty when the output can be written, else the error text.
    std::function<std::string(const TOutputOptions&, const EngineEnvironment&)> validate_output;
    // Converts in this process (the thread mode of the encoder).
    TranscodeFunction transcode;
};

// The backend on the transcoding core of src/media.
EngineBackend core_engine_backend();

}  // namespace velmora::media
