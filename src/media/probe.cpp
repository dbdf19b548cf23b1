#include "media/probe.h"

#include <cctype>
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "media/input_file.h"

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/pixdesc.h>
#include <libavutil/samplefmt.h>
}

namespace velmora::media {
namespace {

std::string rational_text(AVRational q) {
    if (q.den == 0 || q.num == 0) {
        return "?";
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.6g", av_q2d(q));
    return buffer;
}

std::string stream_line(const AVStream* stream, unsigned index) {
    const AVCodecParameters* par = stream->codecpar;
    std::string line = "Stream #" + std::to_string(index) + ": ";
    std::string type = av_get_media_type_string(par->codec_type)
                           ? av_get_media_type_string(par->codec_type)
                           : "unknown";
    type[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(type[0])));
    line += type;
    line += ": ";
    line += avcodec_get_name(par->codec_id);
    if (const char* profile = avcodec_profile_name(par->codec_id, par->profile)) {
        line += std::string(" (") + profile + ")";
    }
    if (par->codec_type == AVMEDIA_TYPE_VIDEO) {
        if (const char* pix = av_get_pix_fmt_name(static_cast<AVPixelFormat>(par->format))) {
            line += std::string(", ") + pix;
        }
        line += ", " + std::to_string(par->width) + "x" + std::to_string(par->height);
        if (par->sample_aspect_ratio.num > 0 && par->sample_aspect_ratio.den > 0) {
            AVRational dar;
            av_reduce(&dar.num, &dar.den, int64_t{par->width} * par->sample_aspect_ratio.num,
                      int64_t{par->height} * par->sample_aspect_ratio.den, 1 << 20);
            line += " [SAR " + std::to_string(par->sample_aspect_ratio.num) + ":" +
                    std::to_string(par->sample_aspect_ratio.den) + " DAR " +
                    std::to_string(dar.num) + ":" + std::to_string(dar.den) + "]";
        }
        const AVRational rate =
            stream->avg_frame_rate.num ? stream->avg_frame_rate : stream->r_frame_rate;
        line += ", " + rational_text(rate) + " fps";
        if (stream->disposition & AV_DISPOSITION_ATTACHED_PIC) {
            line += " (attached picture)";
        }
    } else if (par->codec_type == AVMEDIA_TYPE_AUDIO) {
        line += ", " + std::to_string(par->sample_rate) + " Hz";
        char layout[64] = {};
        if (av_channel_layout_describe(&par->ch_layout, layout, sizeof layout) > 0) {
            line += std::string(", ") + layout;
        }
        if (const char* fmt = av_get_sample_fmt_name(static_cast<AVSampleFormat>(par->format))) {
            line += std::string(", ") + fmt;
        }
    }
    if (par->bit_rate > 0) {
        line += ", " + std::to_string(par->bit_rate / 1000) + " kb/s";
    }
    if (const AVDictionaryEntry* lang = av_dict_get(stream->metadata, "language", nullptr, 0)) {
        line += std::string(" [") + lang->value + "]";
    }
    return line;
}

}  // namespace

std::string format_duration_us(int64_t duration_us) {
    if (duration_us <= 0) {
        return "N/A";
    }
    const int64_t centis = duration_us / 10000;
    char buffer[48];
    std::snprintf(buffer, sizeof buffer, "%02" PRId64 ":%02d:%02d.%02d", centis / 360000,
                  static_cast<int>(centis / 6000 % 60), static_cast<int>(centis / 100 % 60),
                  static_cast<int>(centis % 100));
    return buffer;
}

ProbeResult probe_file(const std::string& path, const std::string& format_name) {
    ProbeResult result;
    InputContextPtr input = open_input(path, format_name, result.error_text);
    if (!input) {
        return result;
    }
    std::error_code ec;
    const auto size = std::filesystem::file_size(std::filesystem::path(path), ec);
    result.size_bytes = ec ? (input->pb ? avio_size(input->pb) : 0) : static_cast<int64_t>(size);
    if (result.size_bytes < 0) {
        result.size_bytes = 0;
    }
    result.duration_us = input->duration != AV_NOPTS_VALUE ? input->duration : 0;

    std::string& text = result.info_text;
    text = "Input: " + path + "\n";
    text += "Format: " + std::string(input->iformat->name);
    if (input->iformat->long_name) {
        text += std::string(" (") + input->iformat->long_name + ")";
    }
    text += "\nDuration: " + format_duration_us(result.duration_us);
    if (input->bit_rate > 0) {
        text += ", bitrate: " + std::to_string(input->bit_rate / 1000) + " kb/s";
    }
    text += ", size: " + std::to_string(result.size_bytes) + " bytes";
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        text += "\n" + stream_line(input->streams[i], i);
    }
    result.ok = true;
    return result;
}

}  // namespace velmora::media
