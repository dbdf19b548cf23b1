// Opening an input file for reading, with clear texts for files that are not readable media.
#pragma once

#include <string>

#include "media/av_holders.h"

namespace velmora::media {

// Opens path with its stream information read; format_name forces a demuxer when not empty.
// Null and error_text set when the file is missing, a directory, empty, not media, or holds no
// audio or video stream.
InputContextPtr open_input(const std::string& path, const std::string& format_name,
                           std::string& error_text);

// Index of the best decodable stream of this type (attached cover pictures are not video),
// or -1.
int find_main_stream(const AVFormatContext* input, AVMediaType type);

}  // namespace velmora::media
