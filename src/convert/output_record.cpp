#include "convert/output_record.h"

#include "convert/task_building.h"

namespace velmora::convert {

using media::TOptionNormType;
using media::TOptionTargetType;

media::TOutputOptions output_record_from(const presets::PresetValues& values) {
    media::TOutputOptions out;

    if (values.Video_VideoCodec == "libx264") {
        out.VideoCodec = "libx264";
        out.VideoPreset = "libx264-default";
    } else if (!values.Video_VideoCodec.empty()) {
        out.VideoCodec = values.Video_VideoCodec;
    }
    if (values.Video_AudioCodec != "AUTO" && !values.Video_AudioCodec.empty()) {
        out.AudioCodec = values.Video_AudioCodec;
    }
    if (!values.Video_FrameRate.empty()) {
        out.FrameRate = values.Video_FrameRate;
    }
    out.DisableVideo = values.Video_DisableVideo;
    if (!values.Video_AudioChannels.empty()) {
        out.AudioChannels = parse_decimal_integer(values.Video_AudioChannels).value_or(-1);
    }
    if (values.Video_AudioSampleRate != "AUTO" && !values.Video_AudioSampleRate.empty()) {
        out.AudioSampleRate = parse_decimal_integer(values.Video_AudioSampleRate).value_or(-1);
    }
    if (!values.Video_FrameSize.empty()) {
        out.FrameSize = values.Video_FrameSize;
    }
    if (values.Video_TargetType == "vcd") {
        out.TargetType = TOptionTargetType::ttVCD;
    } else if (values.Video_TargetType == "svcd") {
        out.TargetType = TOptionTargetType::ttSVCD;
    } else if (values.Video_TargetType == "dvd") {
        out.TargetType = TOptionTargetType::ttDVD;
    }
    if (values.Video_NormType == "PAL") {
        out.NormType = TOptionNormType::ntPAL;
    } else if (values.Video_NormType == "NTSC") {
        out.NormType = TOptionNormType::ntNTSC;
    }
    out.AudioVolume = values.Video_AudioVolume == "256"
                          ? 256
                          : parse_decimal_integer(values.Video_AudioVolume).value_or(-1);
    if (!values.Video_FrameAspectRatio.empty()) {
        out.FrameAspectRatio = values.Video_FrameAspectRatio;
    }
    if (values.Video_AudioBitrate != -1000 && values.Video_AudioBitrate != -2000) {
        out.AudioBitrate = values.Video_AudioBitrate;
    }
    if (!values.Video_FileFormat.empty()) {
        out.FileFormat = values.Video_FileFormat;
    }
    if (!values.Video_VideoFilters.empty()) {
        out.VideoFilters = values.Video_VideoFilters;
    }
    if (!values.Video_VideoTag.empty()) {
        out.VideoTag = values.Video_VideoTag;
    }
    if (values.Video_VideoBitrate != -1000) {
        out.VideoBitrate = values.Video_VideoBitrate;
    }
    return out;
}

}  // namespace velmora::convert
