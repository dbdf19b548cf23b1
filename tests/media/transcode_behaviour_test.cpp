// How a conversion behaves: progress, pause, stop, failures, preview, AMR, volume, bitrates.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <thread>

#include <sys/resource.h>

#include "media/conversion_check.h"
#include "media/output_file.h"
#include "support/media_fixtures.h"
#include "support/temp_dir.h"

namespace velmora::testing {
namespace {

using velmora::media::EngineEnvironment;
using velmora::media::TInputOptions;
using velmora::media::TOutputOptions;
using velmora::media::TProgressInfo;
using velmora::media::TranscodeControl;
using velmora::media::TranscodeHooks;
using velmora::media::TranscodeResult;

const EngineEnvironment kEnv{VELMORA_TEST_LIBAV_DIR};

class Conversion : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        dir_ = new TempDir;
        ASSERT_TRUE(make_av_clip(dir_->path() / "clip.mp4", 1.0, 320, 240, 25));
        ASSERT_TRUE(make_av_clip(dir_->path() / "long.mp4", 20.0, 320, 240, 25));
    }
    static void TearDownTestSuite() {
        delete dir_;
        dir_ = nullptr;
    }
    static std::string clip() { return dir_->file("clip.mp4"); }
    static std::string long_clip() { return dir_->file("long.mp4"); }
    static TempDir* dir_;
};
TempDir* Conversion::dir_ = nullptr;

TInputOptions input_of(const std::string& path) {
    TInputOptions input;
    input.FileName = path;
    return input;
}

// Runs a shell command and returns its standard error and output.
std::string command_output(const std::string& command) {
    std::string text;
    FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) {
        return text;
    }
    char buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        text.append(buffer, n);
    }
    ::pclose(pipe);
    return text;
}

// The loudest sample of a file's audio in dB, as ffmpeg's volumedetect reports it.
double max_volume_db(const std::string& path) {
    const std::string text = command_output("ffmpeg -nostdin -hide_banner -i '" + path +
                                            "' -af volumedetect -vn -f null -");
    const auto at = text.find("max_volume:");
    return at == std::string::npos ? 1000.0 : std::stod(text.substr(at + 11));
}

TEST_F(Conversion, ProgressCarriesEveryField) {
    TempDir out;
    TOutputOptions o = preset_like(".avi", "mpeg4", "libmp3lame");
    o.FileName = out.file("p.avi");
    const ConversionOutcome outcome = convert_file(long_clip(), o);
    ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
    ASSERT_GE(outcome.progress.size(), 2u);
    const TProgressInfo& last = outcome.progress.back();
    EXPECT_EQ(last.TaskIndex, 3);
    EXPECT_EQ(last.FileIndex, 0);
    EXPECT_EQ(last.FrameNumber, 500);
    EXPECT_GT(last.FPS, 0);
    EXPECT_GT(last.Quality, 0.0f);
    EXPECT_GT(last.BitRate, 0.0f);
    EXPECT_EQ(last.CurrentSize, static_cast<int64_t>(std::filesystem::file_size(o.FileName)));
    EXPECT_NEAR(last.CurrentDuration, 20000000, 200000);
    EXPECT_NEAR(last.TotalDuration, 20000000, 100000);
    for (size_t i = 1; i < outcome.progress.size(); ++i) {
        EXPECT_GE(outcome.progress[i].CurrentDuration, outcome.progress[i - 1].CurrentDuration);
        EXPECT_GE(outcome.progress[i].FrameNumber, outcome.progress[i - 1].FrameNumber);
    }
}

TEST_F(Conversion, StopFinishesAPlayableFile) {
    TempDir out;
    TOutputOptions o = preset_like(".mp4", "libx264", "libfaac");
    o.FileName = out.file("stopped.mp4");
    TranscodeControl control;
    TranscodeHooks hooks;
    hooks.progress_interval_ms = 1;
    hooks.on_progress = [&](const TProgressInfo& p) {
        if (p.CurrentDuration > 2000000) {
            control.request_stop();
        }
    };
    const TranscodeResult result = transcode(input_of(long_clip()), o, kEnv, control, hooks, 0);
    EXPECT_TRUE(result.stopped) << result.error_text;
    EXPECT_FALSE(result.finished);
    EXPECT_FALSE(result.failed);
    const MediaFacts facts = read_media(o.FileName);
    ASSERT_TRUE(facts.readable) << facts.error;
    EXPECT_GT(facts.duration_s, 1.5);
    EXPECT_LT(facts.duration_s, 15.0);
    ASSERT_EQ(facts.count("video"), 1);
    // Every converted frame decodes: ffmpeg reads the file to its end without an error.
    const std::string decode =
        command_output("ffmpeg -nostdin -v error -i '" + o.FileName + "' -f null -");
    EXPECT_EQ(decode, "");
    EXPECT_EQ(folder_entries(out.path()), std::vector<std::string>{"stopped.mp4"});
}

TEST_F(Conversion, PauseHoldsTheWorkUntilResumed) {
    TempDir out;
    TOutputOptions o = preset_like(".avi", "mpeg4", "libmp3lame");
    o.FileName = out.file("paused.avi");
    TranscodeControl control;
    control.set_paused(true);
    std::atomic<int64_t> converted{0};
    TranscodeHooks hooks;
    hooks.progress_interval_ms = 1;
    hooks.on_progress = [&](const TProgressInfo& p) { converted = p.CurrentDuration; };
    TranscodeResult result;
    std::thread worker([&] { result = transcode(input_of(clip()), o, kEnv, control, hooks, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(converted.load(), 0);
    control.set_paused(false);
    worker.join();
    EXPECT_TRUE(result.finished) << result.error_text;
    EXPECT_GT(converted.load(), 900000);
}

TEST_F(Conversion, StopBeforeAnythingConvertedLeavesNoFile) {
    TempDir out;
    TOutputOptions o = preset_like(".mkv", "mpeg4", "libmp3lame");
    o.FileName = out.file("paused_stop.mkv");
    write_file(o.FileName, "kept");
    TranscodeControl control;
    control.set_paused(true);
    TranscodeResult result;
    std::thread worker([&] { result = transcode(input_of(clip()), o, kEnv, control, {}, 0); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    control.request_stop();
    worker.join();
    EXPECT_TRUE(result.stopped);
    EXPECT_FALSE(result.failed);
    // An empty container would not play; the file of that name stays as it was.
    EXPECT_EQ(read_file(o.FileName), "kept");
    EXPECT_EQ(folder_entries(out.path()), std::vector<std::string>{"paused_stop.mkv"});
}

TEST_F(Conversion, FailureKeepsAnExistingFileAndLeavesNothingElse) {
    TempDir out;
    const std::string existing = out.file("result.mp4");
    write_file(existing, "the previous conversion");
    write_file(out.path() / "bad.mp4", std::string(5000, '\x17'));
    TOutputOptions o = preset_like(".mp4", "mpeg4", "aac");
    o.FileName = existing;
    TranscodeControl control;
    // Fails before writing: an input that is not media.
    TranscodeResult result = transcode(input_of(out.file("bad.mp4")), o, kEnv, control, {}, 0);
    EXPECT_TRUE(result.failed);
    // Fails while writing: the file may not grow beyond 64 KiB (as on a full disk).
    {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit original{};
        ::getrlimit(RLIMIT_FSIZE, &original);
        rlimit small = original;
        small.rlim_cur = 64 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &small);
        result = transcode(input_of(long_clip()), o, kEnv, control, {}, 0);
        ::setrlimit(RLIMIT_FSIZE, &original);
        ::signal(SIGXFSZ, SIG_DFL);
    }
    EXPECT_TRUE(result.failed);
    EXPECT_NE(result.error_text.find("Cannot write"), std::string::npos) << result.error_text;
    EXPECT_EQ(read_file(existing), "the previous conversion");
    EXPECT_EQ(folder_entries(out.path()), (std::vector<std::string>{"bad.mp4", "result.mp4"}));

    // Success replaces it.
    result = transcode(input_of(clip()), o, kEnv, control, {}, 0);
    EXPECT_TRUE(result.finished) << result.error_text;
    EXPECT_TRUE(read_media(existing).readable);
}

TEST(PartialOutputs, WhatACrashedProcessLeftIsRemoved) {
    TempDir out;
    for (const char* name : {".movie.part-4242-0-17.mp4", ".movie.part-4243-0-17.mp4", "movie.mp4",
                             ".other.part-4242-0-1.mp4"}) {
        write_file(out.path() / name, "x");
    }
    velmora::media::discard_partial_outputs(out.file("movie.mp4"), 4242);
    EXPECT_EQ(folder_entries(out.path()),
              (std::vector<std::string>{".movie.part-4243-0-17.mp4", ".other.part-4242-0-1.mp4",
                                        "movie.mp4"}));
}

TEST_F(Conversion, OutputFolderMustExist) {
    TempDir out;
    write_file(out.path() / "afile", "x");
    TOutputOptions o = preset_like(".mp4", "mpeg4", "aac");
    o.FileName = out.file("afile/out.mp4");
    TranscodeControl control;
    const TranscodeResult result = transcode(input_of(clip()), o, kEnv, control, {}, 0);
    EXPECT_TRUE(result.failed);
    EXPECT_NE(result.error_text.find("output folder"), std::string::npos) << result.error_text;
}

TEST_F(Conversion, PreviewFramesOnlyWhenWantedAndThrottled) {
    TempDir out;
    TOutputOptions o = preset_like(".mp4", "mpeg4", "aac");
    o.FileName = out.file("preview.mp4");
    o.FrameSize = "640*480";
    for (const bool wanted : {false, true}) {
        TranscodeControl control;
        TranscodeHooks hooks;
        int frames = 0;
        bool well_formed = true;
        hooks.preview_wanted = [&] { return wanted; };
        hooks.on_preview_frame = [&](const velmora::media::PreviewFrame& f) {
            ++frames;
            well_formed = well_formed && f.width > 0 && f.width <= 480 && f.height > 0 &&
                          f.stride >= f.width * 3 && f.rgb != nullptr;
        };
        const TranscodeResult result = transcode(input_of(long_clip()), o, kEnv, control, hooks, 0);
        ASSERT_TRUE(result.finished) << result.error_text;
        if (wanted) {
            EXPECT_GE(frames, 1);
            EXPECT_LT(frames, 250);  // far fewer than the 500 frames converted
            EXPECT_TRUE(well_formed);
        } else {
            EXPECT_EQ(frames, 0);
        }
    }
}

TEST_F(Conversion, AmrIsRealAmrNbAtTheChosenMode) {
    TempDir out;
    for (const auto& [bitrate, mode, frame_bytes] :
         {std::tuple{7400, 4, 20}, std::tuple{12200, 7, 32}, std::tuple{4750, 0, 13}}) {
        TOutputOptions o = preset_like(".amr", "", "libopencore_amrnb");
        o.FileName = out.file("speech" + std::to_string(bitrate) + ".amr");
        o.DisableVideo = true;
        o.AudioChannels = 1;
        o.AudioSampleRate = 8000;
        o.AudioBitrate = bitrate;
        const ConversionOutcome outcome = convert_file(clip(), o);
        ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
        expect_streams(
            outcome.facts,
            ExpectedStreams{.audio_codec = "amr_nb", .sample_rate = 8000, .channels = 1});
        const std::vector<uint8_t> bytes = read_bytes(o.FileName);
        ASSERT_GT(bytes.size(), 6u);
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), "#!AMR\n");
        // Every storage frame is of the chosen mode: header (mode << 3) | 4, fixed size.
        size_t frames = 0;
        for (size_t at = 6; at < bytes.size(); at += frame_bytes, ++frames) {
            ASSERT_EQ(bytes[at], (mode << 3) | 0x04) << "frame " << frames;
        }
        EXPECT_EQ((bytes.size() - 6) % frame_bytes, 0u);
        EXPECT_NEAR(frames, 50, 2);  // 1 s of 20 ms frames
    }
}

TEST_F(Conversion, AudioVolumeScales) {
    TempDir out;
    TOutputOptions o = preset_like(".wav", "", "");
    o.DisableVideo = true;
    o.FileName = out.file("same.wav");
    ASSERT_TRUE(convert_file(clip(), o).result.finished);
    o.FileName = out.file("half.wav");
    o.AudioVolume = 128;
    ASSERT_TRUE(convert_file(clip(), o).result.finished);
    o.FileName = out.file("double.wav");
    o.AudioVolume = 512;
    ASSERT_TRUE(convert_file(clip(), o).result.finished);
    const double same = max_volume_db(out.file("same.wav"));
    EXPECT_NEAR(max_volume_db(out.file("half.wav")) - same, -6.0, 0.3);
    EXPECT_NEAR(max_volume_db(out.file("double.wav")) - same, 6.0, 0.3);
}

TEST_F(Conversion, BitratesRoughlyAsAsked) {
    TempDir out;
    const auto still = out.path() / "smooth.mp4";
    // Content that needs fewer bits than asked would undershoot; a noisy pattern does not.
    ASSERT_TRUE(
        run_ffmpeg("-f lavfi -i testsrc2=size=640x360:rate=25:duration=4 -f lavfi -i "
                   "sine=duration=4 -shortest -pix_fmt yuv420p",
                   still));
    struct Case {
        const char* codec;
        int video_bitrate;
        int audio_bitrate;
    };
    for (const Case& c : {Case{"libx264", 600000, 96000}, Case{"mpeg4", 1500000, 192000}}) {
        SCOPED_TRACE(c.codec);
        TOutputOptions o = preset_like(".mp4", c.codec, "libmp3lame");
        o.FileName = out.file(std::string("rate_") + c.codec + ".mp4");
        o.VideoBitrate = c.video_bitrate;
        o.AudioBitrate = c.audio_bitrate;
        const ConversionOutcome outcome = convert_file(still, o);
        ASSERT_TRUE(outcome.result.finished) << outcome.result.error_text;
        const StreamFacts* v = outcome.facts.first("video");
        const StreamFacts* a = outcome.facts.first("audio");
        ASSERT_TRUE(v && a);
        EXPECT_NEAR(static_cast<double>(v->bit_rate), c.video_bitrate, c.video_bitrate * 0.25);
        EXPECT_NEAR(static_cast<double>(a->bit_rate), c.audio_bitrate, c.audio_bitrate * 0.1);
    }
}

TEST_F(Conversion, LengthLimitAndStartOffset) {
    TempDir out;
    TOutputOptions o = preset_like(".mkv", "mpeg4", "libmp3lame");
    o.FileName = out.file("part.mkv");
    o.TimeLength_us = 3000000;
    TInputOptions in = input_of(long_clip());
    in.TimeStart_us = 5000000;
    TranscodeControl control;
    const TranscodeResult result = transcode(in, o, kEnv, control, {}, 0);
    ASSERT_TRUE(result.finished) << result.error_text;
    EXPECT_NEAR(read_media(o.FileName).duration_s, 3.0, 0.2);
}

}  // namespace
}  // namespace velmora::testing
