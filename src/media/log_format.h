// The diagnostic log's line format for FFmpeg's log messages.
#pragma once

#include <cstdint>
#include <string>

namespace velmora::media {

// Log level numbers of the diagnostic log.
enum class LogLevel : int {
    quiet = 0,
    panic = 1,
    fatal = 2,
    error = 3,
    warning = 4,
    info = 5,
    verbose = 6,
    debug = 7,
};

// "#" + thread id + "." + level + ": " + message.
std::string format_log_line(uint64_t thread_id, int level, const std::string& message);

// FFmpeg's AV_LOG_* level (AV_LOG_QUIET .. AV_LOG_TRACE) as a level number 0..7; values in
// between round towards the more severe level, trace counts as debug.
int log_level_number(int av_log_level);

}  // namespace velmora::media
