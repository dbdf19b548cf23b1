// The multi-line description of an opened media file that the preview logs.
#pragma once

#include <string>

struct AVFormatContext;

namespace velmora::media {

// "File: ...", "Format: ...", "Duration: ..., bit rate: ..." and one line per stream.
std::string describe_opened_file(const AVFormatContext& format, const std::string& path);

}  // namespace velmora::media
