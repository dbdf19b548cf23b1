#include "media/output_plan.h"

#include <cctype>
#include <filesystem>
#include <optional>

#include "media/amrnb_encoder.h"
#include "media/targets.h"

extern "C" {
#include <libavutil/parseutils.h>
}

namespace velmora::media {
namespace {

std::string rate_text(AVRational q) {
    return q.den == 1 ? std::to_string(q.num) : std::to_string(q.num) + "/" + std::to_string(q.den);
}

const AVOutputFormat* choose_format(const TOutputOptions& output,
                                    const std::optional<TargetSettings>& target,
                                    std::string& error_text) {
    if (target) {
        return av_guess_format(target->format_name.c_str(), nullptr, nullptr);
    }
    if (!output.FileFormat.empty()) {
        const AVOutputFormat* format = av_guess_format(output.FileFormat.c_str(), nullptr, nullptr);
        if (!format) {
            error_text = "Unknown output format \"" + output.FileFormat + "\"";
        }
        return format;
    }
    if (!output.FileName.empty()) {
        if (const AVOutputFormat* format =
                av_guess_format(nullptr, output.FileName.c_str(), nullptr)) {
            return format;
        }
    }
    if (!output.FileExt.empty()) {
        const std::string probe_name = "output" + output.FileExt;
        if (const AVOutputFormat* format = av_guess_format(nullptr, probe_name.c_str(), nullptr)) {
            return format;
        }
    }
    error_text = "Cannot tell the output format from the file name \"" + output.FileName + "\"";
    return nullptr;
}

// Containers that hold video only as a cover picture, or not at all.
bool takes_no_video(const AVOutputFormat* format) {
    return format->video_codec == AV_CODEC_ID_NONE || format->video_codec == AV_CODEC_ID_PNG;
}

bool plan_video(const TOutputOptions& output, const EngineEnvironment& env,
                const SourceInfo* source, const std::optional<TargetSettings>& target,
                OutputPlan& plan, std::string& error_text) {
    VideoPlan& video = plan.video;
    video.enabled = !output.DisableVideo && (!source || source->has_video);
    if (!video.enabled) {
        return true;
    }
    if (takes_no_video(plan.format)) {
        video.enabled = false;
        plan.notes.push_back(std::string("The container \"") + plan.format->name +
                             "\" holds no video; the output gets audio only");
        return true;
    }
    const std::string requested = target ? target->video_codec : output.VideoCodec;
    video.encoder =
        resolve_encoder(requested, AVMEDIA_TYPE_VIDEO, plan.format, plan.notes, error_text);
    if (!error_text.empty()) {
        return false;
    }
    if (!video.encoder.exists()) {
        video.enabled = false;
        return true;
    }
    const AVCodec* codec = video.encoder.codec;

    // Frame rate: the chosen one, else the source's, else 25; then the encoder's nearest.
    AVRational rate{0, 1};
    if (target) {
        rate = target->frame_rate;
    } else if (!output.FrameRate.empty()) {
        if (av_parse_video_rate(&rate, output.FrameRate.c_str()) < 0 || rate.num <= 0) {
            error_text = "Invalid frame rate \"" + output.FrameRate + "\"";
            return false;
        }
    } else if (source) {
        rate = source->frame_rate.num > 0 && source->frame_rate.den > 0 ? source->frame_rate
                                                                        : AVRational{25, 1};
    }
    if (rate.num > 0) {
        // Keep time bases within what MPEG-4 part 2 can signal (16-bit resolution).
        av_reduce(&rate.num, &rate.den, rate.num, rate.den, 65535);
        const AVRational nearest = nearest_frame_rate(codec, rate, video.unofficial_rate);
        if (av_cmp_q(nearest, rate) != 0) {
            plan.notes.push_back(std::string("The encoder \"") + video.encoder.name +
                                 "\" cannot take " + rate_text(rate) +
                                 " frames per second; using " + rate_text(nearest));
        }
        if (video.unofficial_rate) {
            plan.notes.push_back("The frame rate " + rate_text(nearest) +
                                 " is not standard for \"" + video.encoder.name +
                                 "\"; writing it as an unofficial rate");
        }
        video.frame_rate = nearest;
    }

    // Frame size: the chosen one must suit the encoder; the source's is adapted.
    const AVPixelFormat pixel_format =
        choose_pixel_format(codec, source ? source->pixel_format : AV_PIX_FMT_NONE);
    int width = 0;
    int height = 0;
    SizeOrigin origin = SizeOrigin::user_chosen;
    if (target) {
        width = target->width;
        height = target->height;
    } else if (!output.FrameSize.empty()) {
        if (!parse_frame_size(output.FrameSize, width, height)) {
            error_text = "Invalid frame size \"" + output.FrameSize + "\" (expected W*H)";
            return false;
        }
    } else if (source && output.VideoFilters.empty()) {
        width = source->width;
        height = source->height;
        origin = SizeOrigin::source;
    }
    if (width > 0 && !fit_frame_size(video.encoder.id, pixel_format, origin, width, height,
                                     plan.notes, error_text)) {
        return false;
    }
    video.width = width;
    video.height = height;

    if (!output.FrameAspectRatio.empty()) {
        AVRational aspect{0, 1};
        if (av_parse_ratio(&aspect, output.FrameAspectRatio.c_str(), 10000, 0, nullptr) < 0 ||
            aspect.num <= 0 || aspect.den <= 0) {
            error_text = "Invalid display aspect \"" + output.FrameAspectRatio + "\"";
            return false;
        }
        video.display_aspect = aspect;
    }

    video.bitrate =
        target ? target->video_bitrate : (output.VideoBitrate > 0 ? output.VideoBitrate : 0);
    if (target) {
        video.gop_size = target->gop_size;
        video.max_rate = target->max_rate;
        video.min_rate = target->min_rate;
        video.buffer_size = target->buffer_size;
        video.scan_offset = target->scan_offset;
    }
    video.user_filters = output.VideoFilters;

    if (!output.VideoTag.empty()) {
        const std::string& t = output.VideoTag;
        if (t.size() != 4) {
            plan.notes.push_back("The video tag \"" + t + "\" is not four characters; ignored");
        } else {
            const uint32_t tag = MKTAG(t[0], t[1], t[2], t[3]);
            const AVCodecTag* const* tables = plan.format->codec_tag;
            if (tables && av_codec_get_id(tables, tag) != video.encoder.id) {
                plan.notes.push_back("The container \"" + std::string(plan.format->name) +
                                     "\" does not accept the video tag \"" + t + "\" for \"" +
                                     video.encoder.name + "\"; using its own tag");
            } else {
                video.codec_tag = tag;
            }
        }
    }

    if (!output.VideoPreset.empty()) {
        const std::string path = preset_file_path(env.libav_dir, output.VideoPreset);
        if (!read_preset_file(path, video.preset, error_text)) {
            return false;
        }
    }
    return true;
}

bool plan_audio(const TOutputOptions& output, const SourceInfo* source,
                const std::optional<TargetSettings>& target, OutputPlan& plan,
                std::string& error_text) {
    AudioPlan& audio = plan.audio;
    audio.enabled = !source || source->has_audio;
    if (!audio.enabled) {
        return true;
    }
    const std::string requested = target ? target->audio_codec : output.AudioCodec;
    audio.encoder =
        resolve_encoder(requested, AVMEDIA_TYPE_AUDIO, plan.format, plan.notes, error_text);
    if (!error_text.empty()) {
        return false;
    }
    if (!audio.encoder.exists()) {
        audio.enabled = false;
        return true;
    }
    int rate = target && target->audio_sample_rate > 0 ? target->audio_sample_rate
                                                       : output.AudioSampleRate;
    if (rate <= 0 && source) {
        rate = source->sample_rate;
    }
    if (rate > 0) {
        const int chosen = choose_sample_rate(audio.encoder, plan.format, rate);
        if (chosen != rate) {
            plan.notes.push_back("The encoder \"" + audio.encoder.name + "\" cannot take " +
                                 std::to_string(rate) + " Hz; using " + std::to_string(chosen) +
                                 " Hz");
        }
        audio.sample_rate = chosen;
    }
    int channels =
        target && target->audio_channels > 0 ? target->audio_channels : output.AudioChannels;
    if (channels <= 0 && source) {
        channels = source->channels;
    }
    if (channels > 0) {
        AVChannelLayout layout = choose_channel_layout(audio.encoder, channels);
        if (layout.nb_channels != channels) {
            plan.notes.push_back("The encoder \"" + audio.encoder.name + "\" cannot take " +
                                 std::to_string(channels) + " channels; using " +
                                 std::to_string(layout.nb_channels));
        }
        audio.channels = layout.nb_channels;
        av_channel_layout_uninit(&layout);
    }
    audio.bitrate = target && target->audio_bitrate > 0
                        ? target->audio_bitrate
                        : (output.AudioBitrate > 0 ? output.AudioBitrate : 0);
    if (audio.encoder.own_amrnb) {
        const int wanted = audio.bitrate > 0 ? static_cast<int>(audio.bitrate) : 12200;
        const int mode_rate = AmrNbEncoder::mode_bitrate(AmrNbEncoder::mode_for_bitrate(wanted));
        if (mode_rate != wanted) {
            plan.notes.push_back("AMR-NB has no mode of " + std::to_string(wanted) +
                                 " bit/s; using " + std::to_string(mode_rate) + " bit/s");
        }
        audio.bitrate = mode_rate;
    }
    if (output.AudioVolume >= 0 && output.AudioVolume != 256) {
        audio.volume = output.AudioVolume / 256.0;
    }
    return true;
}

}  // namespace

bool parse_frame_size(const std::string& text, int& width, int& height) {
    size_t i = 0;
    auto read_number = [&](int& value) {
        const size_t start = i;
        long long number = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            number = number * 10 + (text[i] - '0');
            if (number > 16384) {
                return false;
            }
            ++i;
        }
        value = static_cast<int>(number);
        return i > start && number > 0;
    };
    if (!read_number(width) || i >= text.size()) {
        return false;
    }
    ++i;  // the separator
    return read_number(height) && i == text.size();
}

bool plan_output(const TOutputOptions& output, const EngineEnvironment& env,
                 const SourceInfo* source, OutputPlan& plan, std::string& error_text) {
    plan = OutputPlan{};
    error_text.clear();
    const std::optional<TargetSettings> target = target_settings(
        output.TargetType, output.NormType, source ? source->frame_rate : AVRational{0, 1});
    plan.format = choose_format(output, target, error_text);
    if (!plan.format) {
        return false;
    }
    if (target) {
        plan.packet_size = target->packet_size;
        plan.mux_rate = target->mux_rate;
        plan.preload_us = target->preload_us;
    }
    if (!plan_video(output, env, source, target, plan, error_text) ||
        !plan_audio(output, source, target, plan, error_text)) {
        return false;
    }
    if (!plan.video.enabled && !plan.audio.enabled) {
        error_text = source ? "The input has no stream the output \"" +
                                  std::string(plan.format->name) + "\" can carry"
                            : "The output \"" + std::string(plan.format->name) +
                                  "\" would carry neither audio nor video";
        return false;
    }
    return true;
}

}  // namespace velmora::media
