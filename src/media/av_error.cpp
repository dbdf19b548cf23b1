#include "media/av_error.h"

extern "C" {
#include <libavutil/error.h>
}

namespace velmora::media {

std::string av_error_text(int error_code) {
    char buffer[AV_ERROR_MAX_STRING_SIZE] = {};
    if (av_strerror(error_code, buffer, sizeof buffer) < 0) {
        return "error code " + std::to_string(error_code);
    }
    return buffer;
}

std::string describe_av_error(const std::string& doing, int error_code) {
    return doing + ": " + av_error_text(error_code);
}

}  // namespace velmora::media
