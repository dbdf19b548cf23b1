// A small command-line driver of the transcoding core, for benchmarks and manual checks:
//   velmora_transcode INPUT OUTPUT [Field=value ...]
// Fields are those of TOutputOptions (VideoCodec=mpeg4, FrameSize=1280*720, AudioBitrate=...),
// plus LibAV=<folder of preset files>. Prints one progress line a second and the result.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "media/transcode.h"

namespace {

using velmora::media::TOptionNormType;
using velmora::media::TOptionTargetType;
using velmora::media::TOutputOptions;

// Sets one TOutputOptions field from "Field=value"; false for an unknown field.
bool set_field(TOutputOptions& o, std::string& libav_dir, const std::string& arg) {
    const auto equals = arg.find('=');
    if (equals == std::string::npos) {
        return false;
    }
    const std::string key = arg.substr(0, equals);
    const std::string value = arg.substr(equals + 1);
    const auto number = [&] { return std::atoi(value.c_str()); };
    if (key == "LibAV")
        libav_dir = value;
    else if (key == "FileExt")
        o.FileExt = value;
    else if (key == "FileFormat")
        o.FileFormat = value;
    else if (key == "AudioCodec")
        o.AudioCodec = value;
    else if (key == "AudioChannels")
        o.AudioChannels = number();
    else if (key == "AudioSampleRate")
        o.AudioSampleRate = number();
    else if (key == "AudioBitrate")
        o.AudioBitrate = number();
    else if (key == "AudioVolume")
        o.AudioVolume = number();
    else if (key == "VideoCodec")
        o.VideoCodec = value;
    else if (key == "VideoPreset")
        o.VideoPreset = value;
    else if (key == "VideoTag")
        o.VideoTag = value;
    else if (key == "FrameSize")
        o.FrameSize = value;
    else if (key == "VideoBitrate")
        o.VideoBitrate = number();
    else if (key == "FrameRate")
        o.FrameRate = value;
    else if (key == "FrameAspectRatio")
        o.FrameAspectRatio = value;
    else if (key == "DisableVideo")
        o.DisableVideo = value == "True" || value == "1";
    else if (key == "TargetType")
        o.TargetType = static_cast<TOptionTargetType>(number());
    else if (key == "NormType")
        o.NormType = static_cast<TOptionNormType>(number());
    else if (key == "VideoFilters")
        o.VideoFilters = value;
    else
        return false;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s INPUT OUTPUT [Field=value ...]\n", argv[0]);
        return 2;
    }
    velmora::media::TInputOptions input;
    input.FileName = argv[1];
    TOutputOptions output;
    output.FileName = argv[2];
    output.AudioVolume = 256;
    velmora::media::EngineEnvironment env;
    for (int i = 3; i < argc; ++i) {
        if (!set_field(output, env.libav_dir, argv[i])) {
            std::fprintf(stderr, "unknown option %s\n", argv[i]);
            return 2;
        }
    }
    if (const std::string error = velmora::media::validate_output(output, env); !error.empty()) {
        std::fprintf(stderr, "invalid output: %s\n", error.c_str());
        return 1;
    }
    velmora::media::TranscodeControl control;
    velmora::media::TranscodeHooks hooks;
    hooks.progress_interval_ms = 1000;
    hooks.on_progress = [](const velmora::media::TProgressInfo& p) {
        std::printf("frame=%d fps=%d q=%.1f size=%lld time=%.2f/%.2f bitrate=%.1fkbits/s\n",
                    p.FrameNumber, p.FPS, p.Quality, static_cast<long long>(p.CurrentSize),
                    p.CurrentDuration / 1e6, p.TotalDuration / 1e6, p.BitRate);
    };
    hooks.on_log = [](int level, const std::string& line) {
        std::printf("log %d: %s\n", level, line.c_str());
    };
    const auto result = velmora::media::transcode(input, output, env, control, hooks, 0);
    if (result.failed) {
        std::fprintf(stderr, "failed: %s\n", result.error_text.c_str());
        return 1;
    }
    std::printf("%s\n", result.finished ? "finished" : "stopped");
    return 0;
}
