#include "media/log_format.h"

extern "C" {
#include <libavutil/log.h>
}

namespace velmora::media {

std::string format_log_line(uint64_t thread_id, int level, const std::string& message) {
    return "#" + std::to_string(thread_id) + "." + std::to_string(level) + ": " + message;
}

int log_level_number(int av_log_level) {
    struct Step {
        int av_level;
        LogLevel level;
    };
    static constexpr Step steps[] = {
        {AV_LOG_PANIC, LogLevel::panic}, {AV_LOG_FATAL, LogLevel::fatal},
        {AV_LOG_ERROR, LogLevel::error}, {AV_LOG_WARNING, LogLevel::warning},
        {AV_LOG_INFO, LogLevel::info},   {AV_LOG_VERBOSE, LogLevel::verbose},
    };
    if (av_log_level < AV_LOG_PANIC) {
        return static_cast<int>(LogLevel::quiet);
    }
    for (const Step& step : steps) {
        if (av_log_level <= step.av_level) {
            return static_cast<int>(step.level);
        }
    }
    return static_cast<int>(LogLevel::debug);
}

}  // namespace velmora::media
