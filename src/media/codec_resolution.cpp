#include "media/codec_resolution.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace velmora::media {
namespace {

// Encoder names the catalogue uses that this FFmpeg lacks, and what stands in for them.
struct Alias {
    const char* name;
    const char* replacement;
};
constexpr Alias kAliases[] = {
    {"libfaac", "aac"},         {"libfdk_aac", "aac"}, {"libvo_aacenc", "aac"},
    {"msmpeg4v1", "msmpeg4v2"}, {"xvid", "libxvid"},   {"libxvid", "mpeg4"},
    {"x264", "libx264"},        {"libx264", "mpeg4"},  {"libmp3lame", "libshine"},
    {"wmv3", "wmv2"},           {"wmav3", "wmav2"},
};

bool is_amrnb_name(const std::string& name) {
    return name == "libopencore_amrnb" || name == "amr_nb" || name == "amrnb";
}

bool in_list(AVCodecID id, std::initializer_list<AVCodecID> ids) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool is_mpeg_ps(const AVOutputFormat* format) {
    for (const char* name : {"mpeg", "vcd", "svcd", "dvd", "vob"}) {
        if (std::strcmp(format->name, name) == 0) {
            return true;
        }
    }
    return false;
}

bool format_is(const AVOutputFormat* format, const char* name) {
    return std::strcmp(format->name, name) == 0;
}

// Looks a name up as an encoder, or as a codec whose default encoder exists.
ResolvedEncoder find_by_name(const std::string& name, AVMediaType type) {
    ResolvedEncoder found;
    if (name.empty()) {
        return found;
    }
    const AVCodec* codec = avcodec_find_encoder_by_name(name.c_str());
    if (!codec) {
        if (const AVCodecDescriptor* d = avcodec_descriptor_get_by_name(name.c_str())) {
            codec = avcodec_find_encoder(d->id);
        }
    }
    if (codec && codec->type == type) {
        found.codec = codec;
        found.id = codec->id;
        found.name = codec->name;
        return found;
    }
    if (type == AVMEDIA_TYPE_AUDIO && is_amrnb_name(name)) {
        found.id = AV_CODEC_ID_AMR_NB;
        found.own_amrnb = true;
        found.name = "libopencore_amrnb";
    }
    return found;
}

// The encoder of a codec id: libavcodec's, or ours for AMR-NB.
ResolvedEncoder find_by_id(AVCodecID id) {
    ResolvedEncoder found;
    found.id = id;
    if (id == AV_CODEC_ID_NONE) {
        return found;
    }
    if (const AVCodec* codec = avcodec_find_encoder(id)) {
        found.codec = codec;
        found.name = codec->name;
    } else if (id == AV_CODEC_ID_AMR_NB) {
        found.own_amrnb = true;
        found.name = "libopencore_amrnb";
    }
    return found;
}

}  // namespace

std::string encoder_alias(const std::string& name) {
    for (const Alias& alias : kAliases) {
        if (name == alias.name) {
            return alias.replacement;
        }
    }
    return {};
}

bool container_takes(const AVOutputFormat* format, AVCodecID id) {
    const AVCodecDescriptor* descriptor = avcodec_descriptor_get(id);
    const AVMediaType type = descriptor ? descriptor->type : AVMEDIA_TYPE_UNKNOWN;
    if (is_mpeg_ps(format) && type == AVMEDIA_TYPE_AUDIO) {
        return in_list(id, {AV_CODEC_ID_MP1, AV_CODEC_ID_MP2, AV_CODEC_ID_MP3, AV_CODEC_ID_AC3,
                            AV_CODEC_ID_DTS, AV_CODEC_ID_PCM_S16BE, AV_CODEC_ID_PCM_DVD});
    }
    if (format_is(format, "swf")) {
        return type == AVMEDIA_TYPE_AUDIO ? id == AV_CODEC_ID_MP3
                                          : in_list(id, {AV_CODEC_ID_FLV1, AV_CODEC_ID_MJPEG});
    }
    if (format_is(format, "amr")) {
        return id == AV_CODEC_ID_AMR_NB;
    }
    if (format_is(format, "rm") && type == AVMEDIA_TYPE_VIDEO) {
        return in_list(id, {AV_CODEC_ID_RV10, AV_CODEC_ID_RV20});
    }
    return avformat_query_codec(format, id, FF_COMPLIANCE_NORMAL) != 0;
}

ResolvedEncoder resolve_encoder(const std::string& requested, AVMediaType type,
                                const AVOutputFormat* format, std::vector<std::string>& notes,
                                std::string& error_text) {
    const char* kind = type == AVMEDIA_TYPE_VIDEO ? "video" : "audio";
    const AVCodecID default_id =
        type == AVMEDIA_TYPE_VIDEO ? format->video_codec : format->audio_codec;
    ResolvedEncoder encoder;
    if (!requested.empty()) {
        encoder = find_by_name(requested, type);
        // Follow the alias chain (libxvid -> mpeg4, ...) until an encoder exists.
        std::string name = requested;
        for (int step = 0; !encoder.exists() && step < 4; ++step) {
            name = encoder_alias(name);
            if (name.empty()) {
                break;
            }
            encoder = find_by_name(name, type);
            if (encoder.exists()) {
                notes.push_back(std::string("The ") + kind + " encoder \"" + requested +
                                "\" is not available; using \"" + encoder.name + "\" instead");
            }
        }
        if (!encoder.exists()) {
            error_text =
                std::string("The ") + kind + " encoder \"" + requested + "\" does not exist";
            return {};
        }
        if (container_takes(format, encoder.id)) {
            return encoder;
        }
        const ResolvedEncoder fallback = find_by_id(default_id);
        if (!fallback.exists() || !container_takes(format, fallback.id)) {
            error_text = std::string("The container \"") + format->name + "\" cannot carry the " +
                         kind + " codec \"" + encoder.name + "\"";
            return {};
        }
        notes.push_back(std::string("The container \"") + format->name + "\" cannot carry the " +
                        kind + " codec \"" + encoder.name + "\"; using its default \"" +
                        fallback.name + "\" instead");
        return fallback;
    }
    encoder = find_by_id(default_id);
    if (default_id != AV_CODEC_ID_NONE && !encoder.exists()) {
        error_text = std::string("No encoder exists for the container's default ") + kind +
                     " codec \"" + avcodec_get_name(default_id) + "\"";
        return {};
    }
    return encoder;
}

AVRational nearest_frame_rate(const AVCodec* codec, AVRational wanted, bool& needs_unofficial) {
    needs_unofficial = false;
    if (!codec || !codec->supported_framerates || wanted.num <= 0 || wanted.den <= 0) {
        return wanted;
    }
    const int index = av_find_nearest_q_idx(wanted, codec->supported_framerates);
    const AVRational chosen = codec->supported_framerates[index];
    // mpeg1video lists 8 standard rates followed by ones only Xing-style players take.
    needs_unofficial = codec->id == AV_CODEC_ID_MPEG1VIDEO && index >= 8;
    return chosen;
}

AVPixelFormat choose_pixel_format(const AVCodec* codec, AVPixelFormat source) {
    if (!codec || !codec->pix_fmts) {
        return source == AV_PIX_FMT_NONE ? AV_PIX_FMT_YUV420P : source;
    }
    if (source == AV_PIX_FMT_NONE) {
        return codec->pix_fmts[0];
    }
    for (const AVPixelFormat* p = codec->pix_fmts; *p != AV_PIX_FMT_NONE; ++p) {
        if (*p == source) {
            return source;
        }
    }
    const AVPixelFormat best =
        avcodec_find_best_pix_fmt_of_list(codec->pix_fmts, source, 0, nullptr);
    return best == AV_PIX_FMT_NONE ? codec->pix_fmts[0] : best;
}

AVSampleFormat choose_sample_format(const AVCodec* codec, AVSampleFormat source) {
    if (!codec || !codec->sample_fmts) {
        return source == AV_SAMPLE_FMT_NONE ? AV_SAMPLE_FMT_S16 : source;
    }
    const AVSampleFormat packed = av_get_packed_sample_fmt(source);
    const AVSampleFormat planar = av_get_planar_sample_fmt(source);
    for (AVSampleFormat preferred : {source, planar, packed}) {
        for (const AVSampleFormat* p = codec->sample_fmts; *p != AV_SAMPLE_FMT_NONE; ++p) {
            if (*p == preferred) {
                return preferred;
            }
        }
    }
    return codec->sample_fmts[0];
}

int choose_sample_rate(const ResolvedEncoder& encoder, const AVOutputFormat* format, int wanted) {
    if (encoder.own_amrnb || encoder.id == AV_CODEC_ID_AMR_NB) {
        return 8000;
    }
    std::vector<int> allowed;
    if (encoder.codec && encoder.codec->supported_samplerates) {
        for (const int* r = encoder.codec->supported_samplerates; *r; ++r) {
            allowed.push_back(*r);
        }
    }
    // Flash containers store MP3 only at these rates.
    if (encoder.id == AV_CODEC_ID_MP3 && (format_is(format, "swf") || format_is(format, "flv"))) {
        const std::vector<int> flash = {44100, 22050, 11025};
        if (allowed.empty()) {
            allowed = flash;
        } else {
            std::erase_if(allowed, [&](int r) {
                return std::find(flash.begin(), flash.end(), r) == flash.end();
            });
        }
    }
    if (allowed.empty()) {
        return wanted;
    }
    int best = allowed.front();
    for (int r : allowed) {
        if (std::abs(r - wanted) < std::abs(best - wanted)) {
            best = r;
        }
    }
    return best;
}

AVChannelLayout choose_channel_layout(const ResolvedEncoder& encoder, int wanted_channels) {
    AVChannelLayout layout{};
    int channels = std::max(1, wanted_channels);
    if (encoder.own_amrnb || encoder.id == AV_CODEC_ID_AMR_NB) {
        channels = 1;
    }
    // Encoders without a layout list whose channel limit we know.
    if (in_list(encoder.id,
                {AV_CODEC_ID_WMAV1, AV_CODEC_ID_WMAV2, AV_CODEC_ID_MP2, AV_CODEC_ID_MP3})) {
        channels = std::min(channels, 2);
    }
    if (encoder.codec && encoder.codec->ch_layouts) {
        const AVChannelLayout* best = nullptr;
        for (const AVChannelLayout* l = encoder.codec->ch_layouts; l->nb_channels; ++l) {
            if (!best ||
                std::abs(l->nb_channels - channels) < std::abs(best->nb_channels - channels)) {
                best = l;
            }
        }
        if (best) {
            av_channel_layout_copy(&layout, best);
            return layout;
        }
    }
    av_channel_layout_default(&layout, channels);
    return layout;
}

bool fit_frame_size(AVCodecID id, AVPixelFormat pixel_format, SizeOrigin origin, int& width,
                    int& height, std::vector<std::string>& notes, std::string& error_text) {
    const std::string asked = std::to_string(width) + "x" + std::to_string(height);
    if (width <= 0 || height <= 0) {
        error_text = "Invalid frame size " + asked;
        return false;
    }
    if (id == AV_CODEC_ID_H263) {
        static constexpr int kSizes[][2] = {
            {128, 96}, {176, 144}, {352, 288}, {704, 576}, {1408, 1152}};
        int best = 0;
        for (int i = 0; i < 5; ++i) {
            if (kSizes[i][0] == width && kSizes[i][1] == height) {
                return true;
            }
            const auto distance = [&](int k) {
                return std::abs(kSizes[k][0] - width) + std::abs(kSizes[k][1] - height);
            };
            if (distance(i) < distance(best)) {
                best = i;
            }
        }
        if (origin == SizeOrigin::user_chosen) {
            error_text =
                "The H.263 encoder takes only the frame sizes 128x96, 176x144, 352x288, "
                "704x576 and 1408x1152; " +
                asked + " cannot be encoded";
            return false;
        }
        width = kSizes[best][0];
        height = kSizes[best][1];
        notes.push_back("H.263 takes only fixed frame sizes; scaling " + asked + " to " +
                        std::to_string(width) + "x" + std::to_string(height));
        return true;
    }
    int width_multiple = 1;
    int height_multiple = 1;
    if (const AVPixFmtDescriptor* d = av_pix_fmt_desc_get(pixel_format)) {
        width_multiple = 1 << d->log2_chroma_w;
        height_multiple = 1 << d->log2_chroma_h;
    }
    if (id == AV_CODEC_ID_RV10) {
        width_multiple = height_multiple = 16;
    } else if (id == AV_CODEC_ID_RV20) {
        width_multiple = height_multiple = 4;
    } else if (id == AV_CODEC_ID_WMV1 || id == AV_CODEC_ID_WMV2) {
        width_multiple = std::max(width_multiple, 2);
    }
    const int fitted_width = std::max(width_multiple, width / width_multiple * width_multiple);
    const int fitted_height = std::max(height_multiple, height / height_multiple * height_multiple);
    if (fitted_width != width || fitted_height != height) {
        width = fitted_width;
        height = fitted_height;
        notes.push_back("The " + std::string(avcodec_get_name(id)) + " encoder cannot take " +
                        asked + "; using " + std::to_string(width) + "x" + std::to_string(height));
    }
    return true;
}

}  // namespace velmora::media
