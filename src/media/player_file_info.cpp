#include "media/player_file_info.h"

#include <cinttypes>
#include <cstdio>

#include "media/av_holders.h"

namespace velmora::media {
namespace {

// "HH:MM:SS.cc" of microseconds, "N/A" when unknown.
std::string duration_text(int64_t duration_us) {
    if (duration_us <= 0 || duration_us == AV_NOPTS_VALUE) {
        return "N/A";
    }
    const int64_t centis = duration_us / 10000;
    char text[48];
    std::snprintf(text, sizeof text, "%02" PRId64 ":%02" PRId64 ":%02" PRId64 ".%02" PRId64,
                  centis / 360000, centis / 6000 % 60, centis / 100 % 60, centis % 100);
    return text;
}

// FFmpeg's one-line summary of a stream's codec parameters.
std::string stream_text(const AVStream& stream) {
    CodecContextPtr context(avcodec_alloc_context3(nullptr));
    if (!context || avcodec_parameters_to_context(context.get(), stream.codecpar) < 0) {
        return "unknown";
    }
    char text[512] = {};
    avcodec_string(text, sizeof text, context.get(), 0);
    return text;
}

}  // namespace

std::string describe_opened_file(const AVFormatContext& format, const std::string& path) {
    std::string text = "File: " + path + "\n";
    if (format.iformat) {
        text += std::string("Format: ") + format.iformat->name;
        if (format.iformat->long_name) {
            text += std::string(" (") + format.iformat->long_name + ")";
        }
        text += "\n";
    }
    text += "Duration: " + duration_text(format.duration);
    if (format.bit_rate > 0) {
        text += ", bit rate: " + std::to_string(format.bit_rate / 1000) + " kb/s";
    }
    text += "\n";
    for (unsigned i = 0; i < format.nb_streams; ++i) {
        text += "Stream #" + std::to_string(i) + ": " + stream_text(*format.streams[i]) + "\n";
    }
    return text;
}

}  // namespace velmora::media
