// A one-second clip converts with every preset's defaults into a file FFmpeg reads back with
// the streams the preset promises (no video for the audio presets).
#include <gtest/gtest.h>

#include <string>

#include "convert/output_record.h"
#include "media/conversion_check.h"
#include "presets/defaults_table.h"
#include "presets/load_defaults.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::testing {
namespace {

class EveryPreset : public ::testing::TestWithParam<int> {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        ASSERT_TRUE(make_av_clip(dir_->path() / "clip.mp4", 1.0, 320, 240, 25));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static TempDir* dir_;
};
TempDir* EveryPreset::dir_ = nullptr;

TEST_P(EveryPreset, ConvertsWithItsDefaults) {
    const int code = GetParam();
    const presets::PresetDefaults* row = presets::find_defaults(code);
    ASSERT_NE(row, nullptr);
    presets::PresetValues values;
    presets::load_preset_defaults(code, values);
    velmora::media::TOutputOptions output = convert::output_record_from(values);
    TempDir out;
    output.FileName = out.file("preset" + std::to_string(code) + std::string(row->ext));

    const std::string problem = velmora::media::validate_output(
        output, velmora::media::EngineEnvironment{VELMORA_TEST_LIBAV_DIR});
    EXPECT_EQ(problem, "");
    const ConversionOutcome outcome = convert_file(dir_->path() / "clip.mp4", output);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    ASSERT_TRUE(outcome.facts.readable) << outcome.facts.error;
    EXPECT_EQ(outcome.facts.count("video"), row->disable_video ? 0 : 1);
    EXPECT_EQ(outcome.facts.count("audio"), 1);
    // (The swf demuxer reports no duration, for ffmpeg's own files neither.)
    if (std::string(row->ext) != ".swf") {
        EXPECT_GT(outcome.facts.duration_s, 0.5);
    }
}

std::vector<int> all_codes() {
    std::vector<int> codes;
    for (const presets::PresetDefaults& row : presets::defaults_table()) {
        codes.push_back(row.code);
    }
    return codes;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryPreset, ::testing::ValuesIn(all_codes()),
                         [](const ::testing::TestParamInfo<int>& param) {
                             return "preset" + std::to_string(param.param);
                         });

TEST(EveryPresetTable, HoldsAllPresets) {
    EXPECT_EQ(all_codes().size(), 288u);
}

}  // namespace
}  // namespace velmora::testing
