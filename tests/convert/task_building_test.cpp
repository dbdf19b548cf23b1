// Task building: how a row's texts become an output record, and which runs are refused.
#include <gtest/gtest.h>

#include "convert/task_building.h"
#include "support/temp_dir.h"

namespace velmora::convert {
namespace {

using jobs::JobColumn;
using media::TOptionNormType;
using media::TOptionTargetType;

jobs::JobRowTexts row_with(std::initializer_list<std::pair<JobColumn, const char*>> cells,
                           const std::string& caption = "/in/movie.avi") {
    jobs::JobRowTexts row;
    row.caption = caption;
    row[JobColumn::OutputFile] = "movie.mp4";
    row[JobColumn::AudioBitrate] = "-1000";
    for (const auto& [column, text] : cells) {
        row[column] = text;
    }
    return row;
}

TEST(TaskBuilding, DecimalIntegersOnly) {
    EXPECT_EQ(parse_decimal_integer("128000"), 128000);
    EXPECT_EQ(parse_decimal_integer("-1000"), -1000);
    for (const char* bad : {"", "-", "12a", " 12", "1.5", "0x10", "99999999999"}) {
        EXPECT_FALSE(parse_decimal_integer(bad).has_value()) << bad;
    }
}

TEST(TaskBuilding, OverlayRules) {
    media::TOutputOptions o;
    o.VideoCodec = "mpeg4";
    o.AudioBitrate = 96000;
    o.AudioSampleRate = 22050;
    o.TargetType = TOptionTargetType::ttDVD;
    o.NormType = TOptionNormType::ntPAL;
    o.VideoTag = "OLD";

    // libx264 takes its preset and drops any tag; sentinels keep the record's values.
    ASSERT_FALSE(overlay_row_on_output(row_with({{JobColumn::VideoCodec, "libx264"},
                                                 {JobColumn::VideoTag, "DX50"},
                                                 {JobColumn::AudioSampleRate, "AUTO"},
                                                 {JobColumn::AudioCodec, "AUTO"}}),
                                       o));
    EXPECT_EQ(o.VideoCodec, "libx264");
    EXPECT_EQ(o.VideoPreset, "libx264-default");
    EXPECT_EQ(o.VideoTag, "");
    EXPECT_EQ(o.AudioBitrate, 96000);
    EXPECT_EQ(o.AudioSampleRate, 22050);
    EXPECT_EQ(o.AudioCodec, "");
    EXPECT_EQ(o.TargetType, TOptionTargetType::ttDVD);  // empty target keeps the record's
    EXPECT_EQ(o.NormType, TOptionNormType::ntAuto);     // empty norm is always automatic
    EXPECT_FALSE(o.DisableVideo);

    ASSERT_FALSE(overlay_row_on_output(row_with({{JobColumn::VideoCodec, "mpeg4"},
                                                 {JobColumn::VideoTag, "XVID"},
                                                 {JobColumn::AudioBitrate, "128000"},
                                                 {JobColumn::AudioSampleRate, "44100"},
                                                 {JobColumn::VideoDisabled, "True"},
                                                 {JobColumn::TargetType, "vcd"},
                                                 {JobColumn::NormType, "NTSC"},
                                                 {JobColumn::VideoBitrate, "-1000"},
                                                 {JobColumn::FrameSize, "640*480"}}),
                                       o));
    EXPECT_EQ(o.VideoPreset, "");
    EXPECT_EQ(o.VideoTag, "XVID");
    EXPECT_EQ(o.AudioBitrate, 128000);
    EXPECT_EQ(o.AudioSampleRate, 44100);
    EXPECT_TRUE(o.DisableVideo);
    EXPECT_EQ(o.TargetType, TOptionTargetType::ttVCD);
    EXPECT_EQ(o.NormType, TOptionNormType::ntNTSC);
    EXPECT_EQ(o.VideoBitrate, -1000);
    EXPECT_EQ(o.FrameSize, "640*480");

    // Comparisons are case-sensitive.
    ASSERT_FALSE(overlay_row_on_output(row_with({{JobColumn::VideoDisabled, "true"},
                                                 {JobColumn::TargetType, "DVD"},
                                                 {JobColumn::NormType, "pal"}}),
                                       o));
    EXPECT_FALSE(o.DisableVideo);
    EXPECT_EQ(o.TargetType, TOptionTargetType::ttIgnore);
    EXPECT_EQ(o.NormType, TOptionNormType::ntAuto);
}

TEST(TaskBuilding, PlansEveryRowInOrderAndKeepsTheOverlayForTheNextRun) {
    jobs::CompanionTable companions;
    media::TOutputOptions added;
    added.FileFormat = "asf";
    companions.take_first_free({}, added);
    companions.take_first_free({}, {});
    std::vector<jobs::JobRowTexts> rows = {
        row_with({{JobColumn::AudioBitrate, "64000"}}, "/in/a.avi"),
        row_with({}, "/in/b.avi"),
    };
    rows[1][JobColumn::OutputFile] = "b.mp3";
    const auto result = plan_tasks(rows, companions, "/out");
    ASSERT_TRUE(std::holds_alternative<std::vector<PlannedTask>>(result));
    const auto& tasks = std::get<std::vector<PlannedTask>>(result);
    ASSERT_EQ(tasks.size(), 2u);
    EXPECT_EQ(tasks[0].input.FileName, "/in/a.avi");
    EXPECT_EQ(tasks[0].output_path, "/out/movie.mp4");
    EXPECT_EQ(tasks[0].output.FileFormat, "asf");
    EXPECT_EQ(tasks[1].output_path, "/out/b.mp3");
    EXPECT_EQ(companions.at(0).OO1.AudioBitrate, 64000);
    EXPECT_TRUE(std::get<std::vector<PlannedTask>>(plan_tasks({}, companions, "/out")).empty());
}

TEST(TaskBuilding, RefusesRowsThatWouldLoseOrClashFiles) {
    velmora::testing::TempDir dir;
    const std::string folder = dir.path().string();
    jobs::CompanionTable companions;
    struct Case {
        const char* what;
        std::vector<jobs::JobRowTexts> rows;
        int bad_row;
    };
    auto row = [&](const std::string& input, const char* output) {
        auto r = row_with({}, input);
        r[JobColumn::OutputFile] = output;
        return r;
    };
    auto bad_int = row(folder + "/x.avi", "x.mp4");
    bad_int[JobColumn::VideoBitrate] = "fast";
    const Case cases[] = {
        {"non-integer column", {row(folder + "/a.avi", "a.mp4"), bad_int}, 1},
        {"output over its own input", {row(folder + "/a.mp4", "a.mp4")}, 0},
        {"output over another row's input",
         {row(folder + "/b.avi", "a.avi"), row(folder + "/a.avi", "a.mp4")},
         0},
        {"two rows into one file",
         {row("/elsewhere/a.avi", "a.mp4"), row("/other/a.avi", "a.mp4")},
         1},
        {"one file through a different spelling", {row(folder + "/sub/../a.avi", "a.avi")}, 0},
    };
    for (const auto& c : cases) {
        const auto result = plan_tasks(c.rows, companions, folder);
        ASSERT_TRUE(std::holds_alternative<BuildProblem>(result)) << c.what;
        EXPECT_EQ(std::get<BuildProblem>(result).row, c.bad_row) << c.what;
        EXPECT_FALSE(std::get<BuildProblem>(result).message.empty()) << c.what;
    }
}

}  // namespace
}  // namespace velmora::convert
