#include "media/library_check.h"

#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/avutil.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

namespace velmora::media {
namespace {

// One library: its name, the major version built against, the version found at run time.
struct LibraryVersion {
    const char* name;
    unsigned built_major;
    unsigned runtime;
};

}  // namespace

bool check_libraries(const std::string& /*libav_dir*/, std::string& error_text) {
    const LibraryVersion libraries[] = {
        {"libavutil", LIBAVUTIL_VERSION_MAJOR, avutil_version()},
        {"libavcodec", LIBAVCODEC_VERSION_MAJOR, avcodec_version()},
        {"libavformat", LIBAVFORMAT_VERSION_MAJOR, avformat_version()},
        {"libavfilter", LIBAVFILTER_VERSION_MAJOR, avfilter_version()},
        {"libswscale", LIBSWSCALE_VERSION_MAJOR, swscale_version()},
        {"libswresample", LIBSWRESAMPLE_VERSION_MAJOR, swresample_version()},
    };
    std::vector<std::string> problems;
    for (const LibraryVersion& library : libraries) {
        const unsigned runtime_major = library.runtime >> 16;
        if (runtime_major != library.built_major) {
            problems.push_back(std::string(library.name) + " has major version " +
                               std::to_string(runtime_major) + ", this program needs " +
                               std::to_string(library.built_major));
        }
    }
    for (const char* name : {"buffer", "buffersink", "abuffer", "abuffersink", "scale", "fps",
                             "format", "aformat", "aresample", "volume", "setdar", "setsar"}) {
        if (!avfilter_get_by_name(name)) {
            problems.push_back(std::string("the filter \"") + name + "\" is missing");
        }
    }
    for (const char* name : {"mpeg4", "aac", "mp2", "mpeg1video", "mpeg2video", "ac3"}) {
        if (!avcodec_find_encoder_by_name(name)) {
            problems.push_back(std::string("the encoder \"") + name + "\" is missing");
        }
    }
    for (const AVCodecID id :
         {AV_CODEC_ID_H264, AV_CODEC_ID_AAC, AV_CODEC_ID_MP3, AV_CODEC_ID_MPEG4}) {
        if (!avcodec_find_decoder(id)) {
            problems.push_back(std::string("the decoder \"") + avcodec_get_name(id) +
                               "\" is missing");
        }
    }
    for (const char* name : {"mp4", "avi", "mpeg", "matroska", "mp3"}) {
        if (!av_guess_format(name, nullptr, nullptr)) {
            problems.push_back(std::string("the muxer \"") + name + "\" is missing");
        }
    }
    if (!av_find_input_format("mov")) {
        problems.push_back("the demuxer \"mov\" is missing");
    }
    if (problems.empty()) {
        error_text.clear();
        return true;
    }
    error_text = "The FFmpeg libraries are not usable: ";
    for (size_t i = 0; i < problems.size(); ++i) {
        error_text += (i ? "; " : "") + problems[i];
    }
    return false;
}

}  // namespace velmora::media
