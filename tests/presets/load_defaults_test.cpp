// The reset, the defaults routine and output naming.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "presets/load_defaults.h"
#include "presets/selected_row.h"
#include "support/temp_dir.h"

namespace velmora::presets {
namespace {

using jobs::JobColumn;

// Naming against a fixed set of existing files.
OutputNaming naming_with(std::set<std::string> existing, ExistingOutput choice,
                         std::set<std::string> in_use = {}) {
    OutputNaming naming;
    naming.output_folder = "/out";
    naming.existing = choice;
    naming.path_exists = [files = std::move(existing)](const std::string& path) {
        return files.count(path) > 0;
    };
    naming.names_in_use = std::move(in_use);
    return naming;
}

TEST(Reset, ClearsEverythingButTheFileBeingAdded) {
    PresetValues values;
    values.Video_AddFileName = "/in/a.avi";
    values.Video_OutPutFileName = "/out/a.mp4";
    values.Video_VideoCodec = "mpeg4";
    values.Video_FrameSize = "640*480";
    values.Video_VideoBitrate = 816000;
    values.Video_AudioBitrate = 128000;
    values.Video_AudioVolume = "100";
    values.Video_TargetType = "dvd";
    values.Video_TimeStart = 5;
    values.Video_DisableVideo = true;
    Button6Click(values);
    EXPECT_EQ(values.Video_AddFileName, "/in/a.avi");
    EXPECT_EQ(values.Video_OutPutFileName, "");
    EXPECT_EQ(values.Video_VideoCodec, "");
    EXPECT_EQ(values.Video_FrameSize, "");
    EXPECT_EQ(values.Video_TargetType, "");
    EXPECT_EQ(values.Video_AudioVolume, "256");
    EXPECT_EQ(values.Video_VideoBitrate, -1);
    EXPECT_EQ(values.Video_AudioBitrate, -1);
    EXPECT_EQ(values.Video_TimeStart, -1);
    EXPECT_EQ(values.Video_TimeLength, -1);
    EXPECT_FALSE(values.Video_DisableVideo);
}

TEST(Defaults, Preset100LoadsItsRowAndWritesTheSelectedRow) {
    PresetValues values;
    RowTexts row;
    row.columns[JobColumn::OutputFile] = "keep.avi";
    row.columns[JobColumn::PresetCode] = "2812";
    row.columns[JobColumn::OptionIndices] = "000102030405";
    row.columns[JobColumn::VideoDisabled] = "True";
    Button5Click({100, "/in/movie.wmv", naming_with({}, ExistingOutput::Rename)}, values, &row);
    EXPECT_EQ(values.Video_AddFileName, "/in/movie.wmv");
    EXPECT_EQ(values.Video_OutPutFileName, "/out/movie.avi");
    EXPECT_EQ(values.Video_FileExt, ".avi");
    EXPECT_EQ(values.Video_VideoCodec, "mpeg4");
    EXPECT_EQ(values.Video_VideoTag, "XVID");
    EXPECT_EQ(values.Video_VideoBitrate, 816000);
    EXPECT_EQ(values.Video_FrameRate, "25");
    EXPECT_EQ(values.Video_AudioCodec, "libmp3lame");
    EXPECT_EQ(values.Video_AudioChannels, "2");
    EXPECT_EQ(values.Video_AudioSampleRate, "44100");
    EXPECT_EQ(values.Video_AudioBitrate, 128000);
    EXPECT_EQ(values.Video_FrameSize, "");
    EXPECT_EQ(values.Video_FrameAspectRatio, "");
    EXPECT_EQ(values.Video_AudioVolume, "256");
    EXPECT_EQ(values.Video_FileFormat, "");
    EXPECT_EQ(values.Video_VideoFilters, "");
    EXPECT_EQ(values.Video_CopyTimestamp, "");
    EXPECT_EQ(values.Video_TimeStart, -1);
    EXPECT_FALSE(values.Video_DisableVideo);

    const std::pair<JobColumn, const char*> expected[] = {
        {JobColumn::VideoCodec, "mpeg4"},
        {JobColumn::AudioCodec, "libmp3lame"},
        {JobColumn::AudioChannels, "2"},
        {JobColumn::VideoTag, "XVID"},
        {JobColumn::FileExt, ".avi"},
        {JobColumn::FrameSize, ""},
        {JobColumn::VideoBitrate, "816000"},
        {JobColumn::FrameRate, "25"},
        {JobColumn::AudioBitrate, "128000"},
        {JobColumn::AudioSampleRate, "44100"},
        {JobColumn::FrameAspectRatio, ""},
        {JobColumn::VideoDisabled, "False"},
        {JobColumn::TargetType, ""},
        {JobColumn::NormType, ""},
        {JobColumn::OutputFile, "keep.avi"},
        {JobColumn::PresetCode, "2812"},
        {JobColumn::OptionIndices, "000102030405"},
    };
    for (const auto& [column, text] : expected) {
        EXPECT_EQ(row.text(column), text) << column;
    }
    // The 14 columns come in column order, 10 to 23.
    const auto texts = row_setting_texts(values);
    for (size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i].column, static_cast<JobColumn>(JobColumn::VideoCodec + i));
    }
}

TEST(Defaults, AudioAndDiscPresets) {
    struct Case {
        int code;
        const char* output;
        const char* file_ext;
        const char* video_bitrate;
        const char* audio_bitrate;
        const char* disabled;
        const char* target;
        const char* norm;
    };
    const Case cases[] = {
        {200, "/out/song.mp3", ".mp3", "-1", "128000", "True", "", ""},
        {206, "/out/song.ra", ".rm", "-1", "128000", "True", "", ""},
        {1202, "/out/song.flv", "", "-1", "128000", "True", "", ""},
        {111, "/out/song.mpg", "", "-1000", "-1000", "False", "dvd", "PAL"},
        {1409, "/out/song.mpg", "", "-1000", "-1000", "False", "svcd", "PAL"},
        {2414, "/out/song.mpg", "", "-1000", "-1000", "False", "vcd", "PAL"},
        {306, "/out/song.wmv", ".asf", "1600000", "128000", "False", "", ""},
        {408, "/out/song.mp4", ".mp4", "7680000", "128000", "False", "", ""},
    };
    for (const auto& c : cases) {
        PresetValues values;
        RowTexts row;
        Button5Click({c.code, "/in/song.wav", naming_with({}, ExistingOutput::Rename)}, values,
                     &row);
        EXPECT_EQ(values.Video_OutPutFileName, c.output) << c.code;
        EXPECT_EQ(row.text(JobColumn::FileExt), c.file_ext) << c.code;
        EXPECT_EQ(row.text(JobColumn::VideoBitrate), c.video_bitrate) << c.code;
        EXPECT_EQ(row.text(JobColumn::AudioBitrate), c.audio_bitrate) << c.code;
        EXPECT_EQ(row.text(JobColumn::VideoDisabled), c.disabled) << c.code;
        EXPECT_EQ(row.text(JobColumn::TargetType), c.target) << c.code;
        EXPECT_EQ(row.text(JobColumn::NormType), c.norm) << c.code;
        if (c.target[0] != '\0' || c.disabled[0] == 'T') {
            EXPECT_EQ(row.text(JobColumn::VideoCodec), "") << c.code;
            EXPECT_EQ(row.text(JobColumn::FrameSize), "") << c.code;
        }
    }
}

TEST(Defaults, WithoutASelectedRowOnlyTheValuesChange) {
    PresetValues values;
    Button5Click({101, "/in/movie.avi", naming_with({}, ExistingOutput::Rename)}, values, nullptr);
    EXPECT_EQ(values.Video_OutPutFileName, "/out/movie.mp4");
    EXPECT_EQ(values.Video_VideoBitrate, 816000);
}

TEST(Defaults, ACodeOutsideTheCatalogueLeavesTheValuesReset) {
    PresetValues values;
    Button5Click({100, "/in/movie.avi", naming_with({}, ExistingOutput::Rename)}, values, nullptr);
    RowTexts row;
    Button5Click({115, "/in/movie.avi", naming_with({}, ExistingOutput::Rename)}, values, &row);
    EXPECT_EQ(values.Video_OutPutFileName, "");
    EXPECT_EQ(values.Video_VideoCodec, "");
    EXPECT_EQ(values.Video_VideoBitrate, -1);
    EXPECT_EQ(values.Video_AudioVolume, "256");
    EXPECT_EQ(row.text(JobColumn::VideoBitrate), "-1");
    EXPECT_EQ(row.text(JobColumn::VideoDisabled), "False");
}

TEST(Naming, FirstFreeNameInTheOutputFolder) {
    struct Case {
        const char* input;
        int code;
        std::set<std::string> existing;
        ExistingOutput choice;
        std::set<std::string> in_use;
        const char* output;
    };
    const auto R = ExistingOutput::Rename;
    const auto O = ExistingOutput::Overwrite;
    const Case cases[] = {
        {"/in/movie.avi", 101, {}, R, {}, "/out/movie.mp4"},
        {"/in/movie.avi", 101, {"/out/movie.mp4"}, R, {}, "/out/movie_1.mp4"},
        {"/in/movie.avi",
         101,
         {"/out/movie.mp4", "/out/movie_1.mp4", "/out/movie_2.mp4"},
         R,
         {},
         "/out/movie_3.mp4"},
        {"/in/movie.avi", 101, {"/out/movie.mp4", "/out/movie_2.mp4"}, R, {}, "/out/movie_1.mp4"},
        {"/in/movie.avi", 101, {"/out/movie.mp4"}, O, {}, "/out/movie.mp4"},
        {"/in/clip", 100, {}, R, {}, "/out/clip.avi"},
        {"/in/a.b.mov", 100, {}, R, {}, "/out/a.b.avi"},
        {"/in.d/clip", 100, {}, R, {}, "/out/clip.avi"},
        {"", 100, {}, R, {}, "/out/.avi"},
        {"/in/movie.wmv", 100, {"/out/movie.avi", "/out/movie_1.avi"}, R, {}, "/out/movie_2.avi"},
        // Another row's name counts as taken, with either choice.
        {"/in/movie.avi", 101, {}, R, {"movie.mp4"}, "/out/movie_1.mp4"},
        {"/in/movie.avi", 101, {}, O, {"movie.mp4"}, "/out/movie_1.mp4"},
        {"/in/movie.avi", 101, {"/out/movie_1.mp4"}, R, {"movie.mp4"}, "/out/movie_2.mp4"},
        {"/in/movie.avi", 101, {}, R, {"other.mp4", "movie_1.mp4"}, "/out/movie.mp4"},
        // The input itself is never the output, with either choice.
        {"/out/movie.avi", 100, {"/out/movie.avi"}, R, {}, "/out/movie_1.avi"},
        {"/out/movie.avi", 100, {"/out/movie.avi"}, O, {}, "/out/movie_1.avi"},
        {"/out/./movie.avi", 100, {}, O, {}, "/out/movie_1.avi"},
        {"/out/movie.avi", 100, {}, O, {"movie_1.avi"}, "/out/movie_2.avi"},
    };
    for (const auto& c : cases) {
        PresetValues values;
        Button5Click({c.code, c.input, naming_with(c.existing, c.choice, c.in_use)}, values,
                     nullptr);
        EXPECT_EQ(values.Video_OutPutFileName, c.output) << c.input;
    }
}

TEST(Naming, LooksAtTheRealDisk) {
    testing::TempDir dir;
    testing::write_file(dir.path() / "movie.mp4", "x");
    OutputNaming naming;
    naming.output_folder = dir.path().string();
    naming.path_exists = [](const std::string& path) { return std::filesystem::exists(path); };
    PresetValues values;
    Button5Click({101, "/in/movie.avi", naming}, values, nullptr);
    EXPECT_EQ(values.Video_OutPutFileName, dir.file("movie_1.mp4"));
}

TEST(Naming, ExtensionSwapOfARow) {
    struct Case {
        const char* output_file;
        const char* ext;
        const char* input;
        std::set<std::string> in_use;
        const char* result;
    };
    const Case cases[] = {
        {"movie.mp4", ".flac", "/in/movie.avi", {}, "movie.flac"},
        {"movie.mp3", ".flac", "/in/movie.avi", {}, "movie.flac"},
        {"movie_1.mp4", ".avi", "/in/movie.avi", {}, "movie_1.avi"},
        {"clip", ".avi", "/in/clip", {}, "clip.avi"},
        {"a.b.mp4", ".mov", "/in/a.b.avi", {}, "a.b.mov"},
        // Would target another row's output or the row's own input: numbered instead.
        {"movie.mp4", ".avi", "/in/movie.mkv", {"movie.avi"}, "movie_1.avi"},
        {"movie.mp4", ".avi", "/out/movie.avi", {}, "movie_1.avi"},
    };
    for (const auto& c : cases) {
        // Files on disk do not matter for the swap.
        const OutputNaming naming =
            naming_with({"/out/movie.flac", "/out/movie_1.avi"}, ExistingOutput::Rename, c.in_use);
        EXPECT_EQ(swap_output_extension(c.output_file, c.ext, c.input, naming), c.result)
            << c.output_file << " " << c.ext;
    }
}

}  // namespace
}  // namespace velmora::presets
