// Converting a fixture with the core and reading the result back: shared by the option tests
// and by tests that run whole tables of outputs (such as every preset's defaults).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "media/media_readback.h"
#include "media/transcode.h"

namespace velmora::testing {

struct ConversionOutcome {
    velmora::media::TranscodeResult result;
    MediaFacts facts;                    // of the output, when the conversion succeeded
    std::vector<std::string> log_lines;  // what the core wrote to the diagnostic log
    std::vector<velmora::media::TProgressInfo> progress;
};

// Converts input into output.FileName with the LibAV folder of the source tree.
ConversionOutcome convert_file(const std::filesystem::path& input,
                               const velmora::media::TOutputOptions& output);

// What an output must hold. Empty codec names: no stream of that type.
struct ExpectedStreams {
    std::string video_codec;
    int width = 0;  // 0: not checked
    int height = 0;
    double frame_rate = 0.0;
    double display_aspect = 0.0;
    std::string video_tag;
    std::string audio_codec;
    int sample_rate = 0;
    int channels = 0;
};

// One output of a table: a name for messages, the options, the expectations.
struct OutputCase {
    std::string name;
    velmora::media::TOutputOptions output;
    ExpectedStreams expected;
};

// Checks facts against expected with gtest assertions.
void expect_streams(const MediaFacts& facts, const ExpectedStreams& expected);

// Options as a preset row gives them: the record's defaults, volume 256.
velmora::media::TOutputOptions preset_like(const std::string& ext, const std::string& video_codec,
                                           const std::string& audio_codec);

}  // namespace velmora::testing
