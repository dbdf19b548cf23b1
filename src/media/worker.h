// The hidden worker mode: `velmora --engine-worker` converts one task that the encoder object
// sends on its standard input, and reports on its standard output (see worker_protocol.h).
#pragma once

#include "media/encoder_backend.h"

namespace velmora::media {

// The command-line switch of the worker mode.
inline constexpr const char* kWorkerSwitch = "--engine-worker";

// Runs the worker mode on the transcoding core; the exit status of the process.
int worker_main(int argc, char** argv);

// The worker mode on another transcoding function (tests use stand-ins).
int worker_main_with(const TranscodeFunction& transcode);

// The worker loop itself: the task from in_fd, every report to out_fd.
int run_worker(int in_fd, int out_fd, const TranscodeFunction& transcode);

}  // namespace velmora::media
