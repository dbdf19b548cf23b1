#include "media/input_file.h"

#include <filesystem>
#include <system_error>

#include "media/av_error.h"

namespace velmora::media {

InputContextPtr open_input(const std::string& path, const std::string& format_name,
                           std::string& error_text) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path file(path);
    const fs::file_status status = fs::status(file, ec);
    if (path.empty()) {
        error_text = "No input file name was given";
        return {};
    }
    if (ec || !fs::exists(status)) {
        error_text = "The file does not exist: " + path;
        return {};
    }
    if (fs::is_directory(status)) {
        error_text = "This is a folder, not a media file: " + path;
        return {};
    }
    if (fs::is_regular_file(status) && fs::file_size(file, ec) == 0 && !ec) {
        error_text = "The file is empty (0 bytes): " + path;
        return {};
    }
    const AVInputFormat* forced = nullptr;
    if (!format_name.empty()) {
        forced = av_find_input_format(format_name.c_str());
        if (!forced) {
            error_text = "Unknown input format \"" + format_name + "\" for " + path;
            return {};
        }
    }
    // Read the path as a local file only: a name such as "concat:a|b" is not a protocol, and
    // playlists inside a file may not reach the network or other protocols.
    const std::string url = "file:" + path;
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file,crypto,data", 0);
    AVFormatContext* raw = nullptr;
    int ret = avformat_open_input(&raw, url.c_str(), forced, &options);
    av_dict_free(&options);
    if (ret < 0) {
        error_text = describe_av_error("Not a readable media file: " + path, ret);
        return {};
    }
    InputContextPtr input(raw);
    ret = avformat_find_stream_info(input.get(), nullptr);
    if (ret < 0) {
        error_text = describe_av_error("Cannot read the streams of " + path, ret);
        return {};
    }
    if (find_main_stream(input.get(), AVMEDIA_TYPE_VIDEO) < 0 &&
        find_main_stream(input.get(), AVMEDIA_TYPE_AUDIO) < 0) {
        error_text = input->nb_streams == 0
                         ? "The file holds no streams: " + path
                         : "The file holds no audio or video stream that can be decoded: " + path;
        return {};
    }
    error_text.clear();
    return input;
}

int find_main_stream(const AVFormatContext* input, AVMediaType type) {
    int best = -1;
    int64_t best_score = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        const AVStream* stream = input->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        if (par->codec_type != type || !avcodec_find_decoder(par->codec_id)) {
            continue;
        }
        if (type == AVMEDIA_TYPE_VIDEO && ((stream->disposition & AV_DISPOSITION_ATTACHED_PIC) ||
                                           par->width <= 0 || par->height <= 0)) {
            continue;
        }
        if (type == AVMEDIA_TYPE_AUDIO &&
            (par->sample_rate <= 0 || par->ch_layout.nb_channels <= 0)) {
            continue;
        }
        // Prefer the default stream, then the one with the most pixels or channels.
        int64_t score = (stream->disposition & AV_DISPOSITION_DEFAULT) ? (int64_t{1} << 40) : 0;
        score += type == AVMEDIA_TYPE_VIDEO ? int64_t{par->width} * par->height
                                            : par->ch_layout.nb_channels;
        if (score > best_score) {
            best_score = score;
            best = static_cast<int>(i);
        }
    }
    return best;
}

}  // namespace velmora::media
