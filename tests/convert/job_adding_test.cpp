// The plain steps of adding a job and running it: the output record of the preset values, the
// texts of the new row, the preselected option lists, progress texts and the after-done choice.
#include <gtest/gtest.h>

#include "convert/after_done.h"
#include "convert/job_from_file.h"
#include "convert/output_record.h"
#include "convert/preset_choice.h"
#include "convert/run_progress.h"
#include "presets/load_defaults.h"
#include "presets/option_tables.h"

namespace velmora::convert {
namespace {

using media::TOptionNormType;
using media::TOptionTargetType;

presets::PresetValues reset_values() {
    presets::PresetValues values;
    presets::Button6Click(values);
    return values;
}

TEST(OutputRecord, ResetValuesGiveTheEngineDefaults) {
    const media::TOutputOptions out = output_record_from(reset_values());
    EXPECT_EQ(out.AudioChannels, -1);
    EXPECT_EQ(out.AudioSampleRate, -1);
    EXPECT_EQ(out.AudioBitrate, -1);
    EXPECT_EQ(out.VideoBitrate, -1);
    EXPECT_EQ(out.AudioVolume, 256);
    EXPECT_TRUE(out.VideoCodec.empty() && out.VideoPreset.empty() && out.AudioCodec.empty());
    EXPECT_TRUE(out.FileName.empty() && out.FileExt.empty() && out.FrameSize.empty());
    EXPECT_EQ(out.TargetType, TOptionTargetType::ttIgnore);
    EXPECT_EQ(out.NormType, TOptionNormType::ntAuto);
    EXPECT_EQ(out.TimeStart_us, -1);
    EXPECT_EQ(out.TimeLength_us, -1);
}

TEST(OutputRecord, VideoCodecAndItsPreset) {
    struct Case {
        const char* codec;
        const char* video_codec;
        const char* preset;
    } cases[] = {{"libx264", "libx264", "libx264-default"}, {"mpeg4", "mpeg4", ""}, {"", "", ""}};
    for (const Case& c : cases) {
        presets::PresetValues values = reset_values();
        values.Video_VideoCodec = c.codec;
        const media::TOutputOptions out = output_record_from(values);
        EXPECT_EQ(out.VideoCodec, c.video_codec) << c.codec;
        EXPECT_EQ(out.VideoPreset, c.preset) << c.codec;
    }
}

TEST(OutputRecord, SentinelsLeaveFieldsUnset) {
    presets::PresetValues values = reset_values();
    values.Video_AudioCodec = "AUTO";
    values.Video_AudioSampleRate = "AUTO";
    values.Video_AudioBitrate = -1000;
    values.Video_VideoBitrate = -1000;
    values.Video_AudioVolume = "abc";
    values.Video_TargetType = "DVD";  // exact comparison: not "dvd"
    values.Video_NormType = "pal";
    values.Video_AudioChannels = "two";
    media::TOutputOptions out = output_record_from(values);
    EXPECT_TRUE(out.AudioCodec.empty());
    EXPECT_EQ(out.AudioSampleRate, -1);
    EXPECT_EQ(out.AudioBitrate, -1);
    EXPECT_EQ(out.VideoBitrate, -1);
    EXPECT_EQ(out.AudioVolume, -1);
    EXPECT_EQ(out.AudioChannels, -1);
    EXPECT_EQ(out.TargetType, TOptionTargetType::ttIgnore);
    EXPECT_EQ(out.NormType, TOptionNormType::ntAuto);

    values.Video_AudioBitrate = -2000;
    EXPECT_EQ(output_record_from(values).AudioBitrate, -1);
}

TEST(OutputRecord, EveryGovernedFieldIsCopied) {
    presets::PresetValues values = reset_values();
    values.Video_AudioCodec = "libmp3lame";
    values.Video_FrameRate = "29.97";
    values.Video_DisableVideo = true;
    values.Video_AudioChannels = "2";
    values.Video_AudioSampleRate = "44100";
    values.Video_FrameSize = "352*288";
    values.Video_TargetType = "svcd";
    values.Video_NormType = "NTSC";
    values.Video_AudioVolume = "512";
    values.Video_FrameAspectRatio = "16:9";
    values.Video_AudioBitrate = 128000;
    values.Video_FileFormat = "asf";
    values.Video_VideoFilters = "hflip";
    values.Video_VideoTag = "XVID";
    values.Video_VideoBitrate = 816000;
    values.Video_FileExt = ".avi";
    const media::TOutputOptions out = output_record_from(values);
    EXPECT_EQ(out.AudioCodec, "libmp3lame");
    EXPECT_EQ(out.FrameRate, "29.97");
    EXPECT_TRUE(out.DisableVideo);
    EXPECT_EQ(out.AudioChannels, 2);
    EXPECT_EQ(out.AudioSampleRate, 44100);
    EXPECT_EQ(out.FrameSize, "352*288");
    EXPECT_EQ(out.TargetType, TOptionTargetType::ttSVCD);
    EXPECT_EQ(out.NormType, TOptionNormType::ntNTSC);
    EXPECT_EQ(out.AudioVolume, 512);
    EXPECT_EQ(out.FrameAspectRatio, "16:9");
    EXPECT_EQ(out.AudioBitrate, 128000);
    EXPECT_EQ(out.FileFormat, "asf");
    EXPECT_EQ(out.VideoFilters, "hflip");
    EXPECT_EQ(out.VideoTag, "XVID");
    EXPECT_EQ(out.VideoBitrate, 816000);
    EXPECT_TRUE(out.FileExt.empty());  // not governed by the preset values
}

TEST(JobRow, ColumnsOfANewJob) {
    AddedJob job;
    job.outcome = AddOutcome::Added;
    job.task_index = 4;
    job.duration_us = 3'725'000'000;
    job.size_bytes = 5 * 1024 * 1024;
    job.output.FileName = "/out/movie.avi";
    job.output.VideoCodec = "mpeg4";
    job.output.AudioCodec = "libmp3lame";
    job.output.VideoTag = "XVID";
    job.output.FrameSize = "320*240";
    job.output.VideoBitrate = 816000;
    job.output.FrameRate = "25";
    job.output.AudioBitrate = 128000;
    job.output.AudioSampleRate = 44100;
    const auto columns = job_row_columns(job, 100, "000309100400");
    auto at = [&columns](jobs::JobColumn c) { return columns[static_cast<size_t>(c)]; };
    EXPECT_EQ(at(jobs::Duration), "01:02:05");
    EXPECT_EQ(at(jobs::FileSize), "5MB");
    EXPECT_EQ(at(jobs::OutputFile), "movie.avi");
    EXPECT_EQ(at(jobs::Progress), "");
    EXPECT_EQ(at(jobs::EncodeFps), "");
    EXPECT_EQ(at(jobs::TaskNumber), "5");
    EXPECT_EQ(at(jobs::PresetCode), "100");
    EXPECT_EQ(at(jobs::OptionIndices), "000309100400");
    EXPECT_EQ(at(jobs::VideoCodec), "mpeg4");
    EXPECT_EQ(at(jobs::AudioChannels), "-1");
    EXPECT_EQ(at(jobs::VideoTag), "XVID");
    EXPECT_EQ(at(jobs::VideoBitrate), "816000");
    EXPECT_EQ(at(jobs::AudioBitrate), "128000");
    EXPECT_EQ(at(jobs::AudioSampleRate), "44100");
    EXPECT_EQ(at(jobs::VideoDisabled), "");
    EXPECT_EQ(at(jobs::TargetType), "");
    EXPECT_EQ(at(jobs::NormType), "");

    job.duration_us = 0;
    EXPECT_EQ(job_row_columns(job, 100, "")[jobs::Duration], "N/A");
}

TEST(PresetChoice, ListsStandOnTheirPreselectedEntries) {
    const PresetChoice choice = preselected_choice(100);
    const auto row = presets::find_option_row(100);
    ASSERT_TRUE(row.has_value());
    for (presets::OptionList list : presets::kOptionLists) {
        const presets::ListAssignment& assignment = (*row)[list];
        EXPECT_EQ(choice.shown[static_cast<size_t>(list)],
                  assignment.contents->items[static_cast<size_t>(assignment.preselected)]);
    }
    EXPECT_EQ(choice.option_indices.size(), 12u);

    presets::OutputNaming naming;
    naming.output_folder = "/out";
    naming.path_exists = [](const std::string&) { return false; };
    const presets::PresetValues values = preset_values_for(choice, "/in/clip.mp4", naming);
    EXPECT_EQ(values.Video_OutPutFileName, "/out/clip.avi");
    EXPECT_EQ(values.Video_VideoCodec, "mpeg4");
    EXPECT_EQ(values.Video_VideoBitrate, 816000);  // "816 kbps" preselected
    EXPECT_TRUE(values.Video_FrameSize.empty());   // "保持原分辨率"
}

TEST(RunProgress, CellsOfAProgressNotification) {
    media::TProgressInfo info;
    info.FPS = 0;
    info.CurrentDuration = 150'000'000;
    info.TotalDuration = 600'000'000;
    info.CurrentSize = 1024 * 1024;
    ProgressCells cells = progress_cells(info);
    EXPECT_EQ(cells.progress, "25%");
    EXPECT_FALSE(cells.encode_fps.has_value());
    EXPECT_EQ(cells.current_time, "00:02:30");
    EXPECT_EQ(cells.converted_size, "1MB");
    info.TotalDuration = 0;
    info.FPS = 30;
    cells = progress_cells(info);
    EXPECT_EQ(cells.progress, "N/A");
    EXPECT_EQ(cells.encode_fps, "30");
}

TEST(RunProgress, SimultaneousTasksOfTheThreadCountText) {
    EXPECT_EQ(simultaneous_tasks("7"), 7);
    EXPECT_EQ(simultaneous_tasks("19"), 19);
    for (const char* text : {"", "abc", "2x", "0", "-3"}) {
        EXPECT_EQ(simultaneous_tasks(text), 1) << text;
    }
    EXPECT_EQ(simultaneous_tasks("40"), 19);
}

TEST(AfterDone, RunsOnlyTheChosenAction) {
    struct Case {
        settings::AfterDone choice;
        const char* ran;
    } cases[] = {{settings::AfterDone::OpenOutputFolder, "o"},
                 {settings::AfterDone::ShutDown, "s"},
                 {settings::AfterDone::PlaySound, "p"},
                 {settings::AfterDone::Nothing, ""}};
    for (const Case& c : cases) {
        std::string ran;
        run_after_done(c.choice, {[&] { ran += "o"; }, [&] { ran += "s"; }, [&] { ran += "p"; }});
        EXPECT_EQ(ran, c.ran);
    }
}

}  // namespace
}  // namespace velmora::convert
