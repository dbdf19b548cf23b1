// A stand-in for the transcoding core, driven by its input name, so the run control can be
// tested without media: "fake:ms=1500;step=100;mode=ok".
//   ms    media time of the input (also the real time it takes), step: real ms per progress
//   mode  ok | fail | crash (abort after the first progress) | hang (sleep after the first
//         progress, deaf to stop) | deaf (ignores stop requests) | log (an FFmpeg warning)
// Progress records report the worker's scheduling: Quality = nice value, FPS = policy,
// BitRate = process id.
#pragma once

#include <string>

#include "media/encoder_backend.h"

namespace velmora::testing {

media::TranscodeResult fake_transcode(const media::TInputOptions& input,
                                      const media::TOutputOptions& output,
                                      const media::EngineEnvironment& env,
                                      media::TranscodeControl& control,
                                      const media::TranscodeHooks& hooks, int task_index);

// Inputs starting with "fake:" open; outputs ending in ".bad" are refused.
media::EngineBackend fake_backend();

// The fake input text.
std::string fake_input(int ms, const std::string& mode = "ok", int step_ms = 100);

}  // namespace velmora::testing
