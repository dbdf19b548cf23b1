#include "media/log_format.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/log.h>
}

namespace velmora::media {
namespace {

TEST(LogFormat, LineIsHashThreadDotLevelColonMessage) {
    EXPECT_EQ(format_log_line(140234, 4, "Past duration too large"),
              "#140234.4: Past duration too large");
    EXPECT_EQ(format_log_line(0, 0, ""), "#0.0: ");
}

TEST(LogFormat, FfmpegLevelsMapOntoZeroToSeven) {
    struct Case {
        int av_level;
        int expected;
    };
    const Case cases[] = {
        {AV_LOG_QUIET, 0},   {AV_LOG_PANIC, 1},     {AV_LOG_FATAL, 2},    {AV_LOG_ERROR, 3},
        {AV_LOG_WARNING, 4}, {AV_LOG_INFO, 5},      {AV_LOG_VERBOSE, 6},  {AV_LOG_DEBUG, 7},
        {AV_LOG_TRACE, 7},   {AV_LOG_ERROR + 1, 4}, {AV_LOG_INFO - 1, 5},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(log_level_number(c.av_level), c.expected) << "AV level " << c.av_level;
    }
}

}  // namespace
}  // namespace velmora::media
