#include "media/media_readback.h"

#include <algorithm>
#include <fstream>
#include <iterator>

extern "C" {
#include <libavformat/avformat.h>
}

namespace velmora::testing {

const StreamFacts* MediaFacts::first(const std::string& type) const {
    for (const StreamFacts& s : streams) {
        if (s.type == type) {
            return &s;
        }
    }
    return nullptr;
}

int MediaFacts::count(const std::string& type) const {
    return static_cast<int>(std::count_if(streams.begin(), streams.end(),
                                          [&](const StreamFacts& s) { return s.type == type; }));
}

MediaFacts read_media(const std::filesystem::path& path) {
    MediaFacts facts;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) {
        facts.error = "cannot open " + path.string();
        return facts;
    }
    if (avformat_find_stream_info(context, nullptr) < 0) {
        facts.error = "cannot read the streams of " + path.string();
        avformat_close_input(&context);
        return facts;
    }
    facts.readable = true;
    facts.format = context->iformat->name;
    facts.duration_s = context->duration > 0 ? context->duration / 1e6 : 0.0;
    facts.bit_rate = context->bit_rate;
    for (unsigned i = 0; i < context->nb_streams; ++i) {
        const AVStream* stream = context->streams[i];
        const AVCodecParameters* par = stream->codecpar;
        StreamFacts s;
        const char* type = av_get_media_type_string(par->codec_type);
        s.type = type ? type : "unknown";
        s.codec = avcodec_get_name(par->codec_id);
        if (par->codec_tag) {
            for (int b = 0; b < 4; ++b) {
                s.tag += static_cast<char>((par->codec_tag >> (8 * b)) & 0xff);
            }
        }
        s.width = par->width;
        s.height = par->height;
        if (par->height > 0) {
            const AVRational sar =
                av_guess_sample_aspect_ratio(context, const_cast<AVStream*>(stream), nullptr);
            const double sar_value = sar.num > 0 && sar.den > 0 ? av_q2d(sar) : 1.0;
            s.display_aspect = par->width * sar_value / par->height;
        }
        const AVRational rate =
            stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
        s.frame_rate = rate.den > 0 ? av_q2d(rate) : 0.0;
        s.sample_rate = par->sample_rate;
        s.channels = par->ch_layout.nb_channels;
        s.bit_rate = par->bit_rate;
        facts.streams.push_back(s);
    }
    avformat_close_input(&context);
    return facts;
}

std::vector<uint8_t> read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> folder_entries(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace velmora::testing
