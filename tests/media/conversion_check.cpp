#include "media/conversion_check.h"

#include <gtest/gtest.h>

namespace velmora::testing {

ConversionOutcome convert_file(const std::filesystem::path& input,
                               const velmora::media::TOutputOptions& output) {
    ConversionOutcome outcome;
    velmora::media::TInputOptions in;
    in.FileName = input.string();
    velmora::media::TranscodeControl control;
    velmora::media::TranscodeHooks hooks;
    hooks.progress_interval_ms = 50;
    hooks.on_log = [&](int, const std::string& line) { outcome.log_lines.push_back(line); };
    hooks.on_progress = [&](const velmora::media::TProgressInfo& p) {
        outcome.progress.push_back(p);
    };
    outcome.result = velmora::media::transcode(
        in, output, velmora::media::EngineEnvironment{VELMORA_TEST_LIBAV_DIR}, control, hooks, 3);
    if (outcome.result.finished) {
        outcome.facts = read_media(output.FileName);
    }
    return outcome;
}

void expect_streams(const MediaFacts& facts, const ExpectedStreams& e) {
    ASSERT_TRUE(facts.readable) << facts.error;
    if (e.video_codec.empty()) {
        EXPECT_EQ(facts.count("video"), 0);
    } else {
        ASSERT_EQ(facts.count("video"), 1);
        const StreamFacts& v = *facts.first("video");
        EXPECT_EQ(v.codec, e.video_codec);
        if (e.width > 0) {
            EXPECT_EQ(v.width, e.width);
            EXPECT_EQ(v.height, e.height);
        }
        if (e.frame_rate > 0) {
            EXPECT_NEAR(v.frame_rate, e.frame_rate, 0.01);
        }
        if (e.display_aspect > 0) {
            EXPECT_NEAR(v.display_aspect, e.display_aspect, 0.01);
        }
        if (!e.video_tag.empty()) {
            EXPECT_EQ(v.tag, e.video_tag);
        }
    }
    if (e.audio_codec.empty()) {
        EXPECT_EQ(facts.count("audio"), 0);
    } else {
        ASSERT_EQ(facts.count("audio"), 1);
        const StreamFacts& a = *facts.first("audio");
        EXPECT_EQ(a.codec, e.audio_codec);
        if (e.sample_rate > 0) {
            EXPECT_EQ(a.sample_rate, e.sample_rate);
        }
        if (e.channels > 0) {
            EXPECT_EQ(a.channels, e.channels);
        }
    }
}

velmora::media::TOutputOptions preset_like(const std::string& ext, const std::string& video_codec,
                                           const std::string& audio_codec) {
    velmora::media::TOutputOptions o;
    o.FileExt = ext;
    o.VideoCodec = video_codec;
    o.AudioCodec = audio_codec;
    o.AudioVolume = 256;
    if (video_codec == "libx264") {
        o.VideoPreset = "libx264-default";
    }
    return o;
}

}  // namespace velmora::testing
