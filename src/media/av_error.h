// FFmpeg error codes as text a user can read.
#pragma once

#include <string>

namespace velmora::media {

// The text of one FFmpeg error code (av_strerror).
std::string av_error_text(int error_code);

// "<doing>: <error text>", e.g. "Cannot open the output file /a/b.mp4: No such file or directory".
std::string describe_av_error(const std::string& doing, int error_code);

}  // namespace velmora::media
